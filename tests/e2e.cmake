# The real program on the real platform layer, driven as a user would.
find_package(X11 REQUIRED)
add_executable(velmora-testshow ${CMAKE_CURRENT_SOURCE_DIR}/e2e/testshow.cpp)
target_link_libraries(velmora-testshow PRIVATE velmora_app)
add_executable(closewindow ${CMAKE_CURRENT_SOURCE_DIR}/e2e/closewindow.c)
target_link_libraries(closewindow PRIVATE X11::X11)
set_target_properties(velmora-testshow closewindow PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)

find_program(PYTHON3 python3 REQUIRED)
foreach(case windowed fullscreen f1 ends nodisplay)
    add_test(NAME e2e.platform.${case}
        COMMAND ${PYTHON3} ${CMAKE_CURRENT_SOURCE_DIR}/e2e/drive.py ${case}
                $<TARGET_FILE:velmora-testshow>
        WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
    set_tests_properties(e2e.platform.${case} PROPERTIES TIMEOUT 120)
endforeach()

# The demo itself, from the build folder where DATAS lives.
foreach(case show_escape show_close show_f1 show_music show_whole)
    add_test(NAME e2e.demo.${case}
        COMMAND ${PYTHON3} ${CMAKE_CURRENT_SOURCE_DIR}/e2e/drive.py ${case} $<TARGET_FILE:velmora>
        WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
    set_tests_properties(e2e.demo.${case} PROPERTIES TIMEOUT 300)
endforeach()

# The capture tool, run as a user runs it.
foreach(case frames span repeatable bad_arguments no_display unwritable)
    add_test(NAME e2e.capture.${case}
        COMMAND ${PYTHON3} ${CMAKE_CURRENT_SOURCE_DIR}/e2e/capture.py ${case}
                $<TARGET_FILE:velmora-capture>
        WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
    set_tests_properties(e2e.capture.${case} PROPERTIES TIMEOUT 300)
endforeach()
