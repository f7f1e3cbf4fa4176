# lmr_library(NAME DIR dir DEPS ...): one static library from every .cpp below
# DIR (an INTERFACE library while the folder has no sources yet).
function(lmr_library name)
  cmake_parse_arguments(L "AUTOMOC" "" "DEPS;EXCLUDE" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  foreach(ex ${L_EXCLUDE})
    list(FILTER srcs EXCLUDE REGEX "${ex}")
  endforeach()
  if(srcs)
    add_library(${name} STATIC ${srcs})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${L_DEPS})
    if(L_AUTOMOC)
      set_target_properties(${name} PROPERTIES AUTOMOC ON)
    endif()
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${L_DEPS})
  endif()
endfunction()

# lmr_add_tests(LIBS ...): one test program per *_test.cpp of the calling
# folder, run headless, its cases registered with CTest one by one.
function(lmr_add_tests)
  cmake_parse_arguments(T "" "" "LIBS;LABELS" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  file(RELATIVE_PATH rel ${PROJECT_SOURCE_DIR}/tests ${CMAKE_CURRENT_SOURCE_DIR})
  string(REPLACE "/" "_" prefix "${rel}")
  foreach(src ${tests})
    get_filename_component(base ${src} NAME_WE)
    set(exe ${prefix}_${base})
    add_executable(${exe} ${src})
    set_target_properties(${exe} PROPERTIES AUTOMOC ON)
    target_link_libraries(${exe} PRIVATE lmr_testsupport ${T_LIBS} GTest::gtest GTest::gmock)
    gtest_discover_tests(${exe}
      DISCOVERY_MODE PRE_TEST
      DISCOVERY_TIMEOUT 60
      PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LMR_SOURCE_DIR=${PROJECT_SOURCE_DIR};LMR_BINARY_DIR=${PROJECT_BINARY_DIR}"
                 LABELS "${prefix};${T_LABELS}"
                 TIMEOUT 300)
  endforeach()
endfunction()
