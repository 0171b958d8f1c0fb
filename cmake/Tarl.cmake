# Shared build settings and helpers.

add_compile_options(-Wall -Wextra -Wpedantic -Wshadow)
if(TARL_WERROR)
    add_compile_options(-Werror)
endif()
if(TARL_FUZZ)
    # Everything instrumented for coverage; the fuzz targets add libFuzzer's main themselves.
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()
if(TARL_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

# tarl_library(NAME [WIDGETS] DEPENDS lib...)
# One static library per subsystem folder, built from every source in the folder.
# Headers are included as "<subsystem>/Header.h" from src/.
function(tarl_library name)
    cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    if(NOT sources MATCHES "\\.cpp")
        # A subsystem whose code is still to come.
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
        target_link_libraries(${name} INTERFACE ${ARG_DEPENDS})
        return()
    endif()
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
endfunction()

# tarl_test(NAME [LABEL logic|window] SOURCES_DIR dir DEPENDS lib...)
# One GoogleTest executable per test folder; every test runs headless.
function(tarl_test name)
    cmake_parse_arguments(ARG "" "LABEL" "DEPENDS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    if(NOT sources MATCHES "\\.cpp")
        return() # no tests yet
    endif()
    add_executable(${name} ${sources})
    target_link_libraries(${name} PRIVATE tarl_test_support ${ARG_DEPENDS} GTest::gtest GTest::gmock)
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        PROPERTIES LABELS "${ARG_LABEL}" ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
