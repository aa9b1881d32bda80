#pragma once
// The show's five tracks, each with one role; the sequencer paints them in this order.
enum ShowTrack : int {
    sceneTrack = 0, // the scene: the cube scene, the outlined scene, the background
    blurTrack = 1,  // the blur over the scene, in step with it
    flashTrack = 2, // flashes and fades
    cardTrack = 3,  // the text cards, a wipe between consecutive ones
    markTrack = 4,  // the fade-in at the very start; then its cursor marks where a section
                    // began, from which the flash rhythms are measured
};
