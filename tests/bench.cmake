# The benchmark's own parts: its statistics, and the bare tile reference with the
# recorder that observes the cube scene's placements.
target_link_libraries(test_bench_stats PRIVATE velmora_bench)
target_link_libraries(test_bench_bare PRIVATE velmora_bench)
target_link_libraries(test_fidelity PRIVATE velmora_bench)

# The benchmark itself over a coarse step: the shape of what it reports.
find_program(PYTHON3 python3 REQUIRED)
add_test(NAME bench.json_report
    COMMAND ${PYTHON3} ${CMAKE_CURRENT_SOURCE_DIR}/bench/check_bench_json.py
            $<TARGET_FILE:velmora-bench>
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
set_tests_properties(bench.json_report PROPERTIES TIMEOUT 300)
