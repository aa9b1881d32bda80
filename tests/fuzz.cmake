# Replays the TGA fuzz corpus and the regression inputs through loadTga under
# AddressSanitizer and UndefinedBehaviorSanitizer. Only this executable is
# instrumented; `make fuzz` runs the longer libFuzzer search with clang.
set(FUZZ_DIR ${CMAKE_CURRENT_SOURCE_DIR}/fuzz)
add_executable(tga_replay ${FUZZ_DIR}/TgaFuzz.cpp ${FUZZ_DIR}/Replay.cpp
    ${CMAKE_SOURCE_DIR}/src/texture/TgaReader.cpp ${CMAKE_SOURCE_DIR}/src/platform/Files.cpp)
target_include_directories(tga_replay PRIVATE ${CMAKE_SOURCE_DIR}/src)
target_compile_options(tga_replay PRIVATE -O1 -g -fno-omit-frame-pointer
    -fsanitize=address,undefined -fno-sanitize-recover=all)
target_link_options(tga_replay PRIVATE -fsanitize=address,undefined)
add_test(NAME tga_fuzz_replay
    COMMAND tga_replay ${FUZZ_DIR}/corpus ${FUZZ_DIR}/regressions)
set_tests_properties(tga_fuzz_replay PROPERTIES TIMEOUT 120)
