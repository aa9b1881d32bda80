#pragma once
#include <functional>

struct PlayerOptions;

// One frame of the show; false on the frame that found nothing left to draw.
using FrameStep = std::function<bool()>;

// Builds the show once the window and GL context exist, and hands back its frame step.
using ShowBuilder = std::function<FrameStep()>;

// The whole life of the program: questions (those the options leave open), window,
// show, loop. Returns the exit code.
int runVelmora(const PlayerOptions& options, const ShowBuilder& build);
