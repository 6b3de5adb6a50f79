# One INTERFACE target carries the language standard, the warnings and the
# Qt safety defines; every target of the project links it.
add_library(brimlo_options INTERFACE)
target_compile_features(brimlo_options INTERFACE cxx_std_20)
target_compile_options(brimlo_options INTERFACE -Wall -Wextra -Wpedantic)
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
  target_compile_options(brimlo_options INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  target_link_options(brimlo_options INTERFACE -fsanitize=address,undefined)
endif()
