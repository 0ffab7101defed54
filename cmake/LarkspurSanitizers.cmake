# Builds every target with the sanitizers named in LARKSPUR_SANITIZE.
if(LARKSPUR_SANITIZE)
    string(REPLACE ";" "," _larkspur_sanitizers "${LARKSPUR_SANITIZE}")
    add_compile_options(-fsanitize=${_larkspur_sanitizers} -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=${_larkspur_sanitizers})
    # JUCE's leak detector and debug assertions stay as in the release build.
    add_compile_definitions(LARKSPUR_SANITIZED=1)
endif()

# Fuzzing builds instrument all code for coverage; only the fuzzer binaries link libFuzzer's main.
if(LARKSPUR_BUILD_FUZZERS)
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()
