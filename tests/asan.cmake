# The whole show rendered through the capture path with AddressSanitizer and
# UndefinedBehaviorSanitizer: the library is built a second time, instrumented.
set(VELMORA_SAN_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
file(GLOB_RECURSE VELMORA_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*.cpp)
list(FILTER VELMORA_SOURCES EXCLUDE REGEX "/src/app/")
add_library(velmora_core_asan STATIC EXCLUDE_FROM_ALL ${VELMORA_SOURCES})
target_include_directories(velmora_core_asan PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_compile_options(velmora_core_asan PRIVATE ${VELMORA_SAN_FLAGS})
target_link_libraries(velmora_core_asan PUBLIC
    SDL2::SDL2 SDL2_mixer::SDL2_mixer OpenGL::GL OpenGL::GLU GLUT::GLUT)

set(CAPTURE_DIR ${CMAKE_SOURCE_DIR}/tools/capture)
add_executable(velmora-capture-asan
    ${CAPTURE_DIR}/main.cpp ${CAPTURE_DIR}/Args.cpp ${CAPTURE_DIR}/Png.cpp ${CAPTURE_DIR}/Video.cpp)
target_include_directories(velmora-capture-asan PRIVATE ${CAPTURE_DIR})
target_compile_options(velmora-capture-asan PRIVATE ${VELMORA_SAN_FLAGS})
target_link_options(velmora-capture-asan PRIVATE -fsanitize=address,undefined)
target_link_libraries(velmora-capture-asan PRIVATE velmora_core_asan velmora_cli PNG::PNG)
set_target_properties(velmora-capture-asan PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)

add_test(NAME asan.whole_show_every_500ms
    COMMAND $<TARGET_FILE:velmora-capture-asan> --fps 2 --out-dir asan-show
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
set_tests_properties(asan.whole_show_every_500ms PROPERTIES TIMEOUT 600
    ENVIRONMENT "ASAN_OPTIONS=halt_on_error=1;LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_SOURCE_DIR}/lsan.supp;UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1")
