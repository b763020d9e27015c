# The compile options of every target that links tamvek_core: INTERFACE
# libraries that tamvek_core links PUBLIC, so that a new program or test
# target gets them by linking tamvek_core (or a library that links it).

# Options that change results. Reals are part of the output format: no
# contraction into fused multiply-adds, no value-changing optimisation.
add_library(tamvek_numerics INTERFACE)
target_compile_options(tamvek_numerics INTERFACE -ffp-contract=off -fno-fast-math)

# Warnings, errors in the developers' and CI builds (TAMVEK_WERROR, which the
# dev presets turn on), not in a user's, where a newer compiler's new warning
# must not take the program away.
add_library(tamvek_warnings INTERFACE)
target_compile_options(tamvek_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                       $<$<BOOL:${TAMVEK_WERROR}>:-Werror>)

# The sanitizers of the sanitize and fuzz presets.
add_library(tamvek_instrumentation INTERFACE)
if(TAMVEK_FUZZ)
  target_compile_options(tamvek_instrumentation INTERFACE
                         -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all)
  target_link_options(tamvek_instrumentation INTERFACE -fsanitize=address,undefined)
elseif(TAMVEK_SANITIZE)
  target_compile_options(tamvek_instrumentation INTERFACE
                         -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(tamvek_instrumentation INTERFACE -fsanitize=address,undefined)
endif()

add_library(tamvek_compile_options INTERFACE)
target_link_libraries(tamvek_compile_options INTERFACE tamvek_numerics tamvek_warnings tamvek_instrumentation)
