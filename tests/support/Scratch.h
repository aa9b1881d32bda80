#pragma once
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

// A fresh folder for a test's files, removed with everything in it afterwards. While
// entered it is the working folder, with a DATAS folder in it, so that effects find
// their asset names there.
class Scratch {
public:
    Scratch() {
        std::string pattern = (std::filesystem::temp_directory_path() / "velmora-XXXXXX").string();
        if (mkdtemp(pattern.data())) path = pattern;
    }
    ~Scratch() {
        std::error_code ignored;
        if (!previous.empty()) std::filesystem::current_path(previous, ignored);
        std::filesystem::remove_all(path, ignored);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    void enter() {
        previous = std::filesystem::current_path();
        std::filesystem::create_directories(path + "/DATAS");
        std::filesystem::current_path(path);
    }
    std::string write(const std::string& name, const std::vector<uint8_t>& bytes) const {
        const std::string file = path + "/" + name;
        if (FILE* f = std::fopen(file.c_str(), "wb")) {
            std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
        }
        return file;
    }

    std::string path;

private:
    std::filesystem::path previous;
};
