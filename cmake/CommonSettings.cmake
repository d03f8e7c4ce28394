# One interface target that carries warnings, Qt strictness and the sanitizer
# flags for every target of the project.
add_library(quillmark_settings INTERFACE)
target_compile_options(quillmark_settings INTERFACE -Wall -Wextra -pedantic)
target_compile_definitions(quillmark_settings INTERFACE
  QT_NO_CAST_FROM_ASCII
  QT_NO_CAST_TO_ASCII
  QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
  QT_NO_URL_CAST_FROM_STRING
  QT_DISABLE_DEPRECATED_BEFORE=0x050F00
  # Every log line names its file, line and function, also in release builds.
  QT_MESSAGELOGCONTEXT)

if(QUILLMARK_SANITIZE STREQUAL "address")
  set(_quillmark_san -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
elseif(QUILLMARK_SANITIZE STREQUAL "thread")
  set(_quillmark_san -fsanitize=thread -fno-omit-frame-pointer)
elseif(NOT QUILLMARK_SANITIZE STREQUAL "")
  message(FATAL_ERROR "QUILLMARK_SANITIZE must be empty, 'address' or 'thread'")
endif()
if(QUILLMARK_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "QUILLMARK_FUZZ needs clang: CC=clang-16 CXX=clang++-16")
  endif()
  # The whole program carries the coverage instrumentation the fuzzer steers by.
  set(_quillmark_san -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                     -fno-sanitize-recover=undefined)
endif()
if(_quillmark_san)
  target_compile_options(quillmark_settings INTERFACE ${_quillmark_san})
  target_link_options(quillmark_settings INTERFACE ${_quillmark_san})
endif()
