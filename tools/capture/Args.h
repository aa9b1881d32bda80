#pragma once
#include "Span.h"
#include "effects/Detail.h"
#include "platform/Settings.h"
#include <string>
#include <vector>

// What the capture tool was asked to do.
struct CaptureArgs {
    platform::ScreenSize size = platform::bigSize;
    platform::ScreenSize pad = {0, 0}; // the video's frame around the picture; 0 for none
    std::string outDir = ".";          // where frame files go
    std::vector<int> times;            // the show times to render, in order
    std::string video;                 // a video file to encode instead of frame files
    int fps = 0;                       // frames per second, when rendering a span
    int from = 0;
    int to = 0;
    Detail detail = Detail::Designed; // offline, the designed picture
};

// Parses the command line. False with a reason when it is not one the tool accepts.
bool parseCaptureArgs(const std::vector<std::string>& args, CaptureArgs& out, std::string& error);

// "frame-NNNNNN.png" for a show time.
std::string frameName(int time);

// The usage lines, and what follows them under --help.
extern const char* const captureUsage;
std::string captureHelp();
