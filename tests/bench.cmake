# The benchmark's own parts: its statistics, and the bare tile reference with the
# glCallList recorder (the velmora_bench library reroutes the engine's glCallList).
target_link_libraries(test_bench_stats PRIVATE velmora_bench)
target_link_libraries(test_bench_bare PRIVATE velmora_bench)
