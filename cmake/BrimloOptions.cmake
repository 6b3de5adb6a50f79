# One INTERFACE target carries the language standard, the warnings and the
# Qt safety defines; every target of the project links it.
add_library(brimlo_options INTERFACE)
target_compile_features(brimlo_options INTERFACE cxx_std_20)
target_compile_options(brimlo_options INTERFACE -Wall -Wextra -Wpedantic)
if(BRIMLO_WERROR)
  # Only our targets link brimlo_options, so Qt's and the system's headers
  # (included as system headers) cannot fail the build.
  target_compile_options(brimlo_options INTERFACE -Werror)
endif()
target_compile_definitions(brimlo_options INTERFACE
  QT_NO_CAST_FROM_ASCII
  QT_NO_CAST_TO_ASCII
  QT_NO_CAST_FROM_BYTEARRAY
  QT_NO_URL_CAST_FROM_STRING
  QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
  QT_NO_FOREACH
  QT_USE_QSTRINGBUILDER
  BRIMLO_VERSION_TEXT="${PROJECT_VERSION}")
if(BRIMLO_SANITIZE)
  target_compile_options(brimlo_options INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(brimlo_options INTERFACE -fsanitize=address,undefined)
endif()
if(BRIMLO_FUZZ)
  # Long runs of a slow target may leave AddressSanitizer out
  # (-DBRIMLO_FUZZ_SANITIZERS=undefined); the library's own bounds checks
  # stay. Undefined behaviour always stops the run so that the input is kept.
  set(BRIMLO_FUZZ_SANITIZERS "address,undefined" CACHE STRING "Sanitizers of the fuzz targets")
  target_compile_options(brimlo_options INTERFACE
    -fsanitize=fuzzer-no-link,${BRIMLO_FUZZ_SANITIZERS} -fno-omit-frame-pointer
    -fno-sanitize-recover=undefined)
  target_compile_definitions(brimlo_options INTERFACE _GLIBCXX_ASSERTIONS)
  target_link_options(brimlo_options INTERFACE -fsanitize=${BRIMLO_FUZZ_SANITIZERS})
endif()
