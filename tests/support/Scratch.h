#pragma once
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

// A fresh folder for a test's files, removed afterwards. Entered, it is the working
// folder, with a DATAS folder in it where effects find their asset names.
struct Scratch {
    std::string path =
        mkdtemp((std::filesystem::temp_directory_path() / "velmora-XXXXXX").string().data());
    std::filesystem::path previous;

    ~Scratch() {
        if (!previous.empty()) std::filesystem::current_path(previous);
        std::filesystem::remove_all(path);
    }
    void enter() {
        previous = std::filesystem::current_path();
        std::filesystem::create_directories(path + "/DATAS");
        std::filesystem::current_path(path);
    }
    std::string write(const std::string& name, const std::vector<uint8_t>& bytes) const {
        FILE* f = std::fopen((path + "/" + name).c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        return path + "/" + name;
    }
};
