# Libraries each benchmark program links: set(BENCH_DEPS_<name> <libs...>)
set(BENCH_DEPS_bench_numtext runtime)
set(BENCH_DEPS_bench_data data)
