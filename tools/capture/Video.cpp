#include "Video.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Offscreen.h"
#include "platform/Settings.h"
#include "script/Script.h"
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
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

// `music` is the sound track's path, or empty for a silent video.
std::vector<std::string> ffmpegCommand(const CaptureArgs& args, const std::string& out,
                                       const std::string& music) {
    const platform::Settings& s = platform::settings();
    std::vector<std::string> cmd = {"ffmpeg",
                                    "-nostdin",
                                    "-y",
                                    "-loglevel",
                                    "error",
                                    "-f",
                                    "rawvideo",
                                    "-pix_fmt",
                                    "rgb24",
                                    "-s",
                                    std::to_string(s.width) + "x" + std::to_string(s.height),
                                    "-framerate",
                                    std::to_string(args.fps),
                                    "-i",
                                    "pipe:0"};
    if (!music.empty()) {
        const std::vector<std::string> track = {"-ss",  seconds(args.from),
                                                "-t",   seconds(args.to - args.from),
                                                "-i",   music,
                                                "-map", "0:v",
                                                "-map", "1:a",
                                                "-c:a", "aac",
                                                "-b:a", "192k"};
        cmd.insert(cmd.end(), track.begin(), track.end());
    }
    if (args.pad.width != 0) {
        const std::vector<std::string> pad = {"-vf", "pad=" + std::to_string(args.pad.width) + ":" +
                                                         std::to_string(args.pad.height) +
                                                         ":(ow-iw)/2:(oh-ih)/2:black"};
        cmd.insert(cmd.end(), pad.begin(), pad.end());
    }
    const std::vector<std::string> video = {
        "-c:v",    "libx264",   "-preset",    "medium", "-crf", "18", "-pix_fmt",
        "yuv420p", "-movflags", "+faststart", "-f",     "mp4",  out};
    cmd.insert(cmd.end(), video.begin(), video.end());
    return cmd;
}

// Starts the command with a pipe to its standard input; no shell sees the file names.
// -1 with `error` set when it cannot be started, exec failures included: the child
// reports them through a pipe that a successful exec closes.
pid_t spawn(const std::vector<std::string>& cmd, int& input, int& error) {
    // Built before the fork: the renderer's threads may hold the allocator's lock, so
    // the child calls nothing but async-signal-safe functions.
    std::vector<char*> argv;
    for (const std::string& a : cmd)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    int data[2], report[2];
    if (pipe2(data, O_CLOEXEC) != 0) {
        error = errno;
        return -1;
    }
    if (pipe2(report, O_CLOEXEC) != 0) {
        error = errno;
        close(data[0]);
        close(data[1]);
        return -1;
    }
    const pid_t pid = fork();
    if (pid == 0) {
        // The read end becomes standard input, which must survive the exec.
        const bool ready = data[0] == 0 ? fcntl(0, F_SETFD, 0) == 0 : dup2(data[0], 0) == 0;
        if (ready) execvp(argv[0], argv.data());
        const int why = errno;
        const ssize_t ignored = write(report[1], &why, sizeof why);
        (void)ignored;
        _exit(127);
    }
    const int forkError = errno;
    close(data[0]);
    close(report[1]);
    int why = 0;
    ssize_t n = 0;
    if (pid > 0) {
        while ((n = read(report[0], &why, sizeof why)) < 0 && errno == EINTR) {
        }
    }
    close(report[0]);
    if (pid < 0 || n == static_cast<ssize_t>(sizeof why)) {
        error = pid < 0 ? forkError : why;
        if (pid > 0) waitpid(pid, nullptr, 0);
        close(data[1]);
        return -1;
    }
    input = data[1];
    return pid;
}

// The signal (SIGINT or SIGTERM) that asked the export to stop, or 0.
volatile std::sig_atomic_t stopSignal = 0;
extern "C" void onStop(int signal) { stopSignal = signal; }

// Ctrl-C and SIGTERM end the export at the next frame instead of the process at once,
// so the part-written file can be removed. No SA_RESTART: a blocked write returns.
void catchStops() {
    struct sigaction action = {};
    action.sa_handler = onStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool writeAll(int fd, const std::vector<uint8_t>& bytes) {
    size_t done = 0;
    while (done < bytes.size() && !stopSignal) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return !stopSignal;
}

void progress(size_t done, size_t total, double elapsed) {
    const double rate = elapsed > 0 ? done / elapsed : 0;
    const int left = rate > 0 ? static_cast<int>((total - done) / rate) : 0;
    std::fprintf(stderr, "\rframes %zu/%zu (%.1f%%), %.1f fps, %d:%02d left   ", done, total,
                 100.0 * done / total, rate, left / 60, left % 60);
}

// What became of ffmpeg, for the message.
std::string outcome(int status) {
    if (WIFSIGNALED(status))
        return "ffmpeg was killed by signal " + std::to_string(WTERMSIG(status)) + " (" +
               strsignal(WTERMSIG(status)) + ")";
    return "ffmpeg failed with exit status " + std::to_string(WEXITSTATUS(status));
}

} // namespace

int encodeVideo(Script& script, const CaptureArgs& args) {
    platform::describeAsset("DATAS\\zik.mp3", "the video will be silent");
    const std::string music = platform::findAsset("DATAS\\zik.mp3");

    const std::string partial = args.video + ".part";
    int input = -1, error = 0;
    std::signal(SIGPIPE, SIG_IGN); // a dying ffmpeg must not take us down with the file half done
    catchStops();
    const pid_t pid = spawn(ffmpegCommand(args, partial, music), input, error);
    if (pid < 0) {
        if (error == ENOENT)
            std::fprintf(stderr, "velmora-capture: ffmpeg is not installed (not found on the "
                                 "PATH); no video written\n");
        else
            std::fprintf(stderr, "velmora-capture: cannot start ffmpeg (%s); no video written\n",
                         std::strerror(error));
        return 1;
    }
    const platform::Settings& s = platform::settings();
    const double begin = platform::nowMs();
    bool fed = true;
    for (size_t i = 0; i < args.times.size() && fed && !stopSignal; ++i) {
        script.frameAt(args.times[i]);
        fed = writeAll(input, platform::readRgbTopDown(s.width, s.height));
        if (i % 10 == 9 || i + 1 == args.times.size())
            progress(i + 1, args.times.size(), (platform::nowMs() - begin) / 1000.0);
    }
    if (stopSignal) kill(pid, SIGTERM);
    close(input);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    std::fprintf(stderr, "\n");
    if (stopSignal) {
        std::remove(partial.c_str());
        std::fprintf(stderr, "velmora-capture: interrupted (%s); no video written\n",
                     strsignal(stopSignal));
        return 128 + stopSignal;
    }
    const bool exitedWell = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (!fed || !exitedWell) {
        std::remove(partial.c_str());
        const std::string why = exitedWell ? "ffmpeg stopped reading the frames" : outcome(status);
        std::fprintf(stderr, "velmora-capture: %s; no video written\n", why.c_str());
        return 1;
    }
    if (std::rename(partial.c_str(), args.video.c_str()) != 0) {
        std::fprintf(stderr, "velmora-capture: cannot name the video %s (%s)\n", args.video.c_str(),
                     std::strerror(errno));
        std::remove(partial.c_str());
        return 1;
    }
    std::fprintf(stderr, "velmora-capture: wrote %s\n", args.video.c_str());
    return 0;
}
