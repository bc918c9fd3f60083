# Options for the pictures of the libraries and their dependencies
# (docs/layers-*.dot): copy to BUILD/CMakeGraphVizOptions.cmake, then
#   cmake -S . -B BUILD --graphviz=BUILD/layers.dot
set(GRAPHVIZ_EXTERNAL_LIBS FALSE)
set(GRAPHVIZ_GENERATE_PER_TARGET FALSE)
set(GRAPHVIZ_GENERATE_DEPENDERS FALSE)
set(GRAPHVIZ_IGNORE_TARGETS "^test_;^lumiko-screenshot$;^lumiko-bench$;^lumiko_simjson$;^gtest;^gmock;^fuzz_;^lumiko_fuzz_support$;^lumiko-soak$;^lumiko-hwr-report$;^lumiko_hwr_samples$;^lumiko-icon-sizes$;^lumiko-test-pointer$")
