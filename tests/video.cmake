# The capture tool's video export with the real ffmpeg: a short span read back with
# ffprobe, and the ways ffmpeg can be missing or fail. Each case takes seconds.
find_program(PYTHON3 python3 REQUIRED)
foreach(case span no_ffmpeg ffmpeg_not_runnable ffmpeg_fails ffmpeg_dies)
    add_test(NAME video.${case}
        COMMAND ${PYTHON3} ${CMAKE_CURRENT_SOURCE_DIR}/video/check_video.py ${case}
                $<TARGET_FILE:velmora-capture>
        WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
    set_tests_properties(video.${case} PROPERTIES TIMEOUT 120)
endforeach()
