#pragma once

class AttribSet;

// Everything drawn on the timeline. Effects live until the process ends and are
// never deleted, so there is no virtual destructor.
class Effect {
public:
    int duration; // length of the current showing, ms
    int start;    // timeline time at which the current showing began, ms
    float spare;  // carried along by transitions; nothing reads it

    explicit Effect(int ms) : duration(ms), start(0), spare(0.0f) {}

    virtual void draw(int time) = 0;
    virtual void configure(const AttribSet* attribs);

    // Progress through the current showing, (time - start) / duration.
    float progress(int time) const {
        return static_cast<float>(time - start) / static_cast<float>(duration);
    }

protected:
    ~Effect() = default;
    Effect(const Effect&) = default;
    Effect& operator=(const Effect&) = default;
};
