#include "Video.h"
#include "app/Files.h"
#include "app/Offscreen.h"
#include "app/Settings.h"
#include "script/Script.h"
#include <SDL.h>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

std::string seconds(int ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%d.%03d", ms / 1000, ms % 1000);
    return text;
}

std::vector<std::string> ffmpegCommand(const CaptureArgs& args, const std::string& out,
                                       bool withMusic) {
    const Settings& s = settings();
    std::vector<std::string> cmd = {"ffmpeg", "-y", "-loglevel", "error", "-f", "rawvideo",
                                    "-pix_fmt", "rgb24", "-s",
                                    std::to_string(s.width) + "x" + std::to_string(s.height),
                                    "-framerate", std::to_string(args.fps), "-i", "pipe:0"};
    if (withMusic) {
        const std::vector<std::string> music = {"-ss", seconds(args.from), "-t",
                                                seconds(args.to - args.from), "-i",
                                                assetPath("DATAS\\zik.mp3"), "-map", "0:v",
                                                "-map", "1:a", "-c:a", "aac", "-b:a", "192k"};
        cmd.insert(cmd.end(), music.begin(), music.end());
    }
    const std::vector<std::string> video = {"-c:v", "libx264", "-preset", "medium", "-crf", "18",
                                            "-pix_fmt", "yuv420p", "-movflags", "+faststart",
                                            "-f", "mp4", out};
    cmd.insert(cmd.end(), video.begin(), video.end());
    return cmd;
}

// Starts the command with a pipe to its standard input; no shell sees the file names.
pid_t spawn(const std::vector<std::string>& cmd, int& input) {
    int fds[2];
    if (pipe(fds) != 0) return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(fds[0], 0);
        close(fds[0]);
        close(fds[1]);
        std::vector<char*> argv;
        for (const std::string& a : cmd) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(fds[0]);
    if (pid < 0) {
        close(fds[1]);
        return -1;
    }
    input = fds[1];
    return pid;
}

bool writeAll(int fd, const std::vector<uint8_t>& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

void progress(size_t done, size_t total, double elapsed) {
    const double rate = elapsed > 0 ? done / elapsed : 0;
    const int left = rate > 0 ? static_cast<int>((total - done) / rate) : 0;
    std::fprintf(stderr, "\rframes %zu/%zu (%.1f%%), %.1f fps, %d:%02d left   ", done, total,
                 100.0 * done / total, rate, left / 60, left % 60);
}

} // namespace

int encodeVideo(Script& script, const CaptureArgs& args) {
    FILE* music = openAsset("DATAS\\zik.mp3", "rb");
    if (music) std::fclose(music);
    else std::fprintf(stderr, "velmora-capture: no DATAS/zik.mp3; the video will be silent\n");

    const std::string partial = args.video + ".part";
    int input = -1;
    std::signal(SIGPIPE, SIG_IGN); // a dying ffmpeg must not take us down with the file half done
    const pid_t pid = spawn(ffmpegCommand(args, partial, music != nullptr), input);
    if (pid < 0) {
        std::fprintf(stderr, "velmora-capture: cannot start ffmpeg (%s)\n", std::strerror(errno));
        return 1;
    }
    const Settings& s = settings();
    const Uint64 begin = SDL_GetTicks64();
    bool fed = true;
    for (size_t i = 0; i < args.times.size() && fed; ++i) {
        script.frameAt(args.times[i]);
        fed = writeAll(input, readRgbTopDown(s.width, s.height));
        if (i % 10 == 9 || i + 1 == args.times.size())
            progress(i + 1, args.times.size(), (SDL_GetTicks64() - begin) / 1000.0);
    }
    close(input);
    int status = 0;
    waitpid(pid, &status, 0);
    std::fprintf(stderr, "\n");
    const bool ok = fed && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (!ok) {
        std::remove(partial.c_str());
        if (WIFEXITED(status) && WEXITSTATUS(status) == 127)
            std::fprintf(stderr, "velmora-capture: ffmpeg is not installed\n");
        else
            std::fprintf(stderr, "velmora-capture: ffmpeg failed; no video written\n");
        return 1;
    }
    if (std::rename(partial.c_str(), args.video.c_str()) != 0) {
        std::fprintf(stderr, "velmora-capture: cannot name the video %s (%s)\n",
                     args.video.c_str(), std::strerror(errno));
        std::remove(partial.c_str());
        return 1;
    }
    std::fprintf(stderr, "velmora-capture: wrote %s\n", args.video.c_str());
    return 0;
}
