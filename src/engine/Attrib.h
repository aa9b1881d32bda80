#pragma once
#include <map>
#include <string>

// One named parameter: an integer ("mode", "level", "method"), a float ("scale")
// or a static text ("text"), read by key.
class Attrib {
public:
    union Value {
        int i;
        float f;
        const char* text;
    };
    Value value;
    std::string name;

    Attrib() : value{0} {}
    Attrib(std::string key, int i) : value{0}, name(std::move(key)) { value.i = i; }
    Attrib(std::string key, float f) : value{0}, name(std::move(key)) { value.f = f; }
    Attrib(std::string key, const char* text) : value{0}, name(std::move(key)) {
        value.text = text;
    }
    Attrib(const Attrib&) = default;
    Attrib& operator=(const Attrib&) = default;
    virtual ~Attrib() = default;
};

// The parameters of one timeline entry, by name.
class AttribSet {
public:
    // Stores a copy under a.name, replacing any earlier entry with that key.
    void set(const Attrib& a) { entries[a.name] = a; }

    // Copies the entry for `name` into `out`; false (and `out` untouched) when absent.
    bool get(const std::string& name, Attrib& out) const {
        const auto it = entries.find(name);
        if (it == entries.end()) return false;
        out.value = it->second.value;
        out.name = it->second.name;
        return true;
    }

    size_t size() const { return entries.size(); }

private:
    std::map<std::string, Attrib> entries;
};

// Reading helpers for effects' configure: each leaves `field` as it was when absent.
inline void readInt(const AttribSet* attribs, const char* key, int& field) {
    Attrib a;
    if (attribs && attribs->get(key, a)) field = a.value.i;
}
inline void readFloat(const AttribSet* attribs, const char* key, float& field) {
    Attrib a;
    if (attribs && attribs->get(key, a)) field = a.value.f;
}
inline void readText(const AttribSet* attribs, const char* key, std::string& field) {
    Attrib a;
    if (attribs && attribs->get(key, a)) field = a.value.text ? a.value.text : "";
}
