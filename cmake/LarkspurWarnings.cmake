# Warnings for the project's own targets (not for JUCE's sources).
add_library(larkspur_warnings INTERFACE)
target_compile_options(larkspur_warnings INTERFACE -Wall -Wextra -Wshadow -Wnon-virtual-dtor -Wno-unused-parameter)
if(LARKSPUR_WERROR)
    target_compile_options(larkspur_warnings INTERFACE -Werror)
endif()
