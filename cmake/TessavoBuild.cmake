# How the build goes quicker: ccache where it is installed, and precompiled
# headers for the targets that include Qt's and GoogleTest's headers in every
# source. Where the time of the suite goes: docs/performance.md.

# ccache, where it is installed, makes a second build of the same sources
# quick, in this folder or in another clone: the paths under the sources' root
# are hashed relative to it, the working folder of the compiler is left out,
# and the precompiled headers are let in (ccache refuses them otherwise).
find_program(TESSAVO_CCACHE ccache)
if(TESSAVO_CCACHE AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
  set(CMAKE_CXX_COMPILER_LAUNCHER
      ${CMAKE_COMMAND} -E env
      CCACHE_BASEDIR=${PROJECT_SOURCE_DIR}
      CCACHE_NOHASHDIR=1
      CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
      ${TESSAVO_CCACHE})
endif()

# Precompiled headers. Parsing QtCore, QtWidgets and GoogleTest takes most of
# the time of compiling a source of this project, so each kind of target
# reuses one set of headers compiled once: the logic (QtCore), the screens
# (QtWidgets), the tests of the logic and the tests of the screens. The
# libFuzzer build (clang) uses them too: its logic libraries compiled in
# half the time (138 s to 66 s from a fresh folder).
option(TESSAVO_PCH "Precompiled headers for the targets that include Qt and GoogleTest" ON)

set(TESSAVO_PCH_core
  <QByteArray> <QDir> <QFile> <QFileInfo> <QHash> <QList> <QRegularExpression>
  <QString> <QStringList> <QStringView>
  <algorithm> <functional> <memory> <optional> <vector>)
set(TESSAVO_PCH_widgets ${TESSAVO_PCH_core}
  <QApplication> <QLabel> <QLineEdit> <QListWidget> <QPlainTextEdit> <QPushButton>
  <QTimer> <QVBoxLayout> <QWidget>)
set(TESSAVO_PCH_tests ${TESSAVO_PCH_core} <QTemporaryDir> <gtest/gtest.h>)
set(TESSAVO_PCH_screentests ${TESSAVO_PCH_widgets} <QTemporaryDir> <gtest/gtest.h>)
set(TESSAVO_PCH_core_LIBS Qt6::Core)
set(TESSAVO_PCH_widgets_LIBS Qt6::Widgets)
set(TESSAVO_PCH_tests_LIBS Qt6::Core GTest::gtest)
set(TESSAVO_PCH_screentests_LIBS Qt6::Widgets GTest::gtest)

# tessavo_test_code(<target>)
# The tests' own code (the tests, their doubles and servers) is compiled
# without optimisation whatever the build type: it only drives the logic,
# which keeps the build type's, and generating its code at -O3 took more
# than half of a test source's compile time. The option comes after the
# build type's, so it wins.
function(tessavo_test_code target)
  target_compile_options(${target} PRIVATE -O0)
endfunction()

# tessavo_precompiled(<target> core|widgets|tests|screentests)
# The target reuses the headers of its kind, compiled once by a small library
# of their own made with the same flags as every target of the project.
# The targets of the two kinds of tests are test code (tessavo_test_code).
function(tessavo_precompiled target kind)
  if(kind MATCHES "tests$")
    tessavo_test_code(${target})
  endif()
  if(NOT TESSAVO_PCH OR NOT CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    return()
  endif()
  set(holder tessavo_pch_${kind})
  if(NOT TARGET ${holder})
    set(source ${PROJECT_BINARY_DIR}/pch/${kind}.cpp)
    file(WRITE ${source} "// The headers of the ${kind} targets, compiled once.\n")
    add_library(${holder} STATIC ${source})
    set_target_properties(${holder} PROPERTIES AUTOMOC OFF)
    target_link_libraries(${holder} PRIVATE ${TESSAVO_PCH_${kind}_LIBS})
    tessavo_target(${holder})
    # Made with the flags of the targets that reuse it.
    if(kind MATCHES "tests$")
      tessavo_test_code(${holder})
    endif()
    target_precompile_headers(${holder} PRIVATE ${TESSAVO_PCH_${kind}})
  endif()
  target_precompile_headers(${target} REUSE_FROM ${holder})
endfunction()

# tessavo_moc_where_needed(<target>)
# moc only for a target whose sources (or the headers beside them, which moc
# also reads) declare a QObject: the others are spared moc's pass and the
# compile of an empty mocs_compilation.cpp (with the precompiled headers, a
# tenth of the Release build's time). Sources generated during the build are left out: none of
# them is a QObject.
function(tessavo_moc_where_needed target)
  get_target_property(sources ${target} SOURCES)
  get_target_property(folder ${target} SOURCE_DIR)
  foreach(source IN LISTS sources)
    if(source MATCHES "^\\$<")
      continue()
    endif()
    cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${folder} OUTPUT_VARIABLE path)
    cmake_path(REPLACE_EXTENSION path LAST_ONLY .h OUTPUT_VARIABLE header)
    foreach(file IN ITEMS ${path} ${header})
      if(EXISTS ${file} AND NOT IS_DIRECTORY ${file})
        file(STRINGS ${file} declared REGEX "Q_OBJECT|Q_GADGET|Q_NAMESPACE" LIMIT_COUNT 1)
        if(declared)
          return()
        endif()
      endif()
    endforeach()
  endforeach()
  set_target_properties(${target} PROPERTIES AUTOMOC OFF)
endfunction()
