# Libraries each benchmark program links: set(BENCH_DEPS_<name> <libs...>)
