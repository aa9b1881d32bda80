#pragma once
#include "Args.h"

class Script;

// Renders args.times and pipes the frames into ffmpeg with the show's music cut to
// the same span: H.264 (yuv420p) with AAC sound. The file appears under its final
// name only when ffmpeg succeeded. Returns the exit code.
int encodeVideo(Script& script, const CaptureArgs& args);
