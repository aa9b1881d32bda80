#pragma once
#include "Timing.h"
#include <vector>

// The timings as one JSON object, or as a table with a legend; `all` is every frame of the
// show, `rss` the peak resident memory in MB.
void printJson(double startup, const std::vector<Section>& sections, const std::vector<double>& all,
               double rss);
void printTable(double startup, const std::vector<Section>& sections,
                const std::vector<double>& all, double rss);
