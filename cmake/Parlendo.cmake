# Project-wide compile settings and the one-line helpers that register tests and benchmarks.

add_library(parlendo_warnings INTERFACE)
target_compile_options(parlendo_warnings INTERFACE -Wall -Wextra -Wpedantic)
if(PARLENDO_WERROR)
  target_compile_options(parlendo_warnings INTERFACE -Werror)
endif()

if(PARLENDO_SANITIZE)
  add_compile_options(-fsanitize=${PARLENDO_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${PARLENDO_SANITIZE})
  # GCC's instrumentation makes -Wmaybe-uninitialized fire falsely (in <regex>, for one), and
  # GCC advises against -Werror with sanitizers for that reason; the plain build still checks it.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    add_compile_options(-Wno-maybe-uninitialized)
  endif()
endif()

# Installed, the program finds its page helper and license.txt by paths relative to its own
# folder, so an installed tree stays relocatable (a .deb is staged under another prefix than
# the build's). Worked out here because the library folder depends on the prefix: lib under
# /usr/local, lib/<multiarch> under /usr on Debian.
file(RELATIVE_PATH PARLENDO_MODULE_DIR_FROM_BIN ${CMAKE_INSTALL_FULL_BINDIR}
  ${CMAKE_INSTALL_FULL_LIBDIR}/parlendo)
file(RELATIVE_PATH PARLENDO_DATA_DIR_FROM_BIN ${CMAKE_INSTALL_FULL_BINDIR}
  ${CMAKE_INSTALL_FULL_DATADIR}/parlendo)

# parlendo_test(NAME SOURCES a.cpp b.cpp LIBS lib1 lib2 [QT])
# One test executable per unit. QT tests run on the offscreen platform.
function(parlendo_test name)
  cmake_parse_arguments(T "QT" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE parlendo_warnings ${T_LIBS})
  # Header-only helpers shared by the tests.
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
  if(T_QT)
    target_link_libraries(${name} PRIVATE Qt6::Test)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
  else()
    find_package(GTest REQUIRED)
    target_link_libraries(${name} PRIVATE GTest::gtest GTest::gmock GTest::gtest_main)
    # Plain C++ tests need no moc pass, even when the console is part of the build.
    set_target_properties(${name} PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT 300)
  endif()
endfunction()

# parlendo_bench(NAME SOURCES ... LIBS ...): Google Benchmark executables, not run by ctest.
function(parlendo_bench name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  find_package(benchmark REQUIRED)
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE parlendo_warnings benchmark::benchmark ${B_LIBS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/bench/support)
endfunction()
