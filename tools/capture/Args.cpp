#include "Args.h"
#include "script/Timeline.h"
#include <cerrno>
#include <cstdio>
#include <cstdlib>

const char* const captureUsage =
    "usage: velmora-capture [--size 800x600|640x480] [--out-dir DIR] --at MS [--at MS ...]\n"
    "       velmora-capture [--size 800x600|640x480] [--out-dir DIR] --fps N [--from MS] [--to "
    "MS]\n"
    "       velmora-capture --video FILE.mp4 [--fps N] [--from MS] [--to MS] [--size WxH]\n"
    "       --exact with any of them draws the cube scene's meshes exactly as designed\n";

namespace {

bool toInt(const std::string& text, int& out) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || errno == ERANGE || v < 0 || v > 100000000) return false;
    out = static_cast<int>(v);
    return true;
}

} // namespace

std::vector<int> spanTimes(int fps, int from, int to) {
    std::vector<int> times;
    for (long long i = 0;; ++i) {
        const long long t = from + i * 1000 / fps;
        if (t >= to) break;
        times.push_back(static_cast<int>(t));
    }
    return times;
}

std::string frameName(int time) {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%06d.png", time);
    return name;
}

bool parseCaptureArgs(const std::vector<std::string>& args, CaptureArgs& out, std::string& error) {
    bool haveFrom = false, haveTo = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--exact") {
            out.exact = true;
            continue;
        }
        if (i + 1 >= args.size()) {
            error = a.rfind("--", 0) == 0 ? a + " needs a value" : "unexpected " + a;
            return false;
        }
        const std::string& v = args[++i];
        int n = 0;
        if (a == "--size") {
            if (v != "800x600" && v != "640x480") {
                error = "--size must be 800x600 or 640x480";
                return false;
            }
            out.big = v == "800x600";
        } else if (a == "--out-dir") {
            out.outDir = v;
        } else if (a == "--video") {
            out.video = v;
        } else if (a == "--at" || a == "--fps" || a == "--from" || a == "--to") {
            if (!toInt(v, n)) {
                error = a + " takes a whole number of milliseconds (or frames per second)";
                return false;
            }
            if (a == "--fps" && (n < 1 || n > 1000)) {
                error = "--fps must be between 1 and 1000";
                return false;
            }
            if (a == "--at") out.times.push_back(n);
            if (a == "--fps") out.fps = n;
            if (a == "--from") out.from = n, haveFrom = true;
            if (a == "--to") out.to = n, haveTo = true;
        } else {
            error = "unknown option " + a;
            return false;
        }
    }
    if (!out.video.empty() && out.fps == 0) out.fps = 60;
    if (!haveTo) out.to = showLength;
    const bool span = out.fps != 0 || haveFrom || haveTo;
    if (!out.times.empty() && (span || !out.video.empty())) {
        error = "--at cannot be combined with --fps, --from, --to or --video";
        return false;
    }
    if (out.times.empty() && out.fps == 0) {
        error = "say which frames: --at MS, or --fps N";
        return false;
    }
    if (out.fps == 0 && span) {
        error = "--from and --to need --fps";
        return false;
    }
    if (out.fps != 0 && out.from >= out.to) {
        error = "--from must be below --to";
        return false;
    }
    if (out.times.empty()) out.times = spanTimes(out.fps, out.from, out.to);
    return true;
}
