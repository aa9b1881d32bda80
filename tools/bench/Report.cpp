#include "Report.h"
#include "Stats.h"
#include <cstdio>
#include <string>

namespace {

// A time over the reference for the JSON report: null without a reference.
std::string overJson(double ms, double ref) {
    if (!(ref > 0)) return "null";
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", ms / ref);
    return text;
}

} // namespace

void printJson(double startup, const std::vector<Section>& sections, const std::vector<double>& all,
               double rss) {
    const double ref = referenceMs(sections);
    std::printf("{\"startup_ms\": %.1f, \"sections\": [", startup);
    for (size_t i = 0; i < sections.size(); ++i) {
        const Section& s = sections[i];
        std::printf("%s{\"start_ms\": %d, \"end_ms\": %d, \"effect\": \"%s\", \"frames\": %zu, "
                    "\"median_ms\": %.2f, \"p95_ms\": %.2f, \"median_over_reference\": %s, "
                    "\"p95_over_reference\": %s",
                    i ? ", " : "", s.entry.start, s.end(), s.effect.c_str(), s.frames.size(),
                    median(s.frames), percentile(s.frames, 95),
                    overJson(median(s.frames), ref).c_str(),
                    overJson(percentile(s.frames, 95), ref).c_str());
        if (!s.bare.empty())
            std::printf(", \"scene_median_ms\": %.2f, \"bare_median_ms\": %.2f, "
                        "\"scene_over_bare\": %.3f",
                        median(s.scene), median(s.bare), median(s.ratio));
        std::printf("}");
    }
    std::printf("], \"show\": {\"median_ms\": %.2f, \"p95_ms\": %.2f, \"worst_ms\": %.2f, "
                "\"reference_ms\": %.2f, \"p95_over_reference\": %s}, \"peak_rss_mb\": %.1f}\n",
                median(all), percentile(all, 95), percentile(all, 100), ref,
                overJson(percentile(all, 95), ref).c_str(), rss);
}

void printTable(double startup, const std::vector<Section>& sections,
                const std::vector<double>& all, double rss) {
    const double ref = referenceMs(sections);
    std::printf("start-up: %.1f ms\n", startup);
    std::printf("reference: %.2f ms (the bare draw of the heaviest tiles, designed meshes)\n\n",
                ref);
    std::printf("%-15s %-17s %6s %9s %8s %7s %7s   %9s %9s %6s\n", "section (ms)", "effect",
                "frames", "median ms", "p95 ms", "med/ref", "p95/ref", "scene ms", "bare ms",
                "ratio");
    for (const Section& s : sections) {
        char span[32];
        std::snprintf(span, sizeof span, "%d-%d", s.entry.start, s.end());
        std::printf("%-15s %-17s %6zu %9.2f %8.2f %7.3f %7.3f", span, s.effect.c_str(),
                    s.frames.size(), median(s.frames), percentile(s.frames, 95),
                    median(s.frames) / ref, percentile(s.frames, 95) / ref);
        if (!s.bare.empty())
            std::printf("   %9.2f %9.2f %6.3f", median(s.scene), median(s.bare), median(s.ratio));
        std::printf("\n");
    }
    std::printf(
        "\nwhole show: median %.2f ms, p95 %.2f ms (%.3f of the reference), worst %.2f ms\n",
        median(all), percentile(all, 95), percentile(all, 95) / ref, percentile(all, 100));
    std::printf("peak resident memory: %.1f MB\n", rss);
    std::printf("\nmed/ref, p95/ref: the section's frame times over the reference; scene ms: the "
                "tile variant's own draw; bare ms: the same tiles drawn bare (medians); ratio: the "
                "median of scene / bare moment by moment\n");
}
