# plenoria_library(<name> DEPS <targets...>)
# Builds every .cpp of the calling folder and its folders by concern into one static library named
# plenoria_<name>. Includes are written from src/, the one include root of every target, so that
# each names its library ("imaging/read/ImageSource.h").
# New files need no CMake edit; the folder's dependencies are the only thing declared here,
# which is how the one-way layering (app → collection → bench → inspectors → store → imaging) is enforced.
# The order between the folders inside a library is written in tests/architecture.
function(plenoria_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  file(GLOB resources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  set(target plenoria_${name})
  if(sources MATCHES "\\.cpp")
    add_library(${target} STATIC ${sources} ${resources})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${target} PUBLIC ${ARG_DEPS})
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${target} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# plenoria_test(<name> [WIDGETS] DEPS <targets...>)
# One GoogleTest executable per test folder, discovered by CTest at test time.
# WIDGETS runs the tests under a QApplication; otherwise a QGuiApplication.
function(plenoria_test name)
  cmake_parse_arguments(ARG "WIDGETS" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  if(NOT sources MATCHES "\\.cpp")
    return()
  endif()
  set(target test_${name})
  add_executable(${target} ${sources})
  if(ARG_WIDGETS)
    set(main plenoria_testmain_widgets)
  else()
    set(main plenoria_testmain_gui)
  endif()
  target_link_libraries(${target} PRIVATE ${ARG_DEPS} plenoria_testsupport ${main} GTest::gtest GTest::gmock Qt6::Test)
  gtest_discover_tests(${target}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    TIMEOUT 300)
endfunction()
