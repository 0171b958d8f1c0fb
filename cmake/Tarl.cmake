# Shared build settings and helpers.

add_compile_options(-Wall -Wextra -Wpedantic -Wshadow)
if(TARL_WERROR)
    add_compile_options(-Werror)
endif()
if(TARL_FUZZ AND TARL_FUZZ_SANITIZE)
    # Everything instrumented for coverage; the fuzz targets add libFuzzer's main themselves.
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
elseif(TARL_FUZZ)
    # Coverage only: long runs that count executions.
    add_compile_options(-fsanitize=fuzzer-no-link -fno-omit-frame-pointer)
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

# tarl_test(NAME [LABEL logic|window] [NEEDS label=filter ...] DEPENDS lib...)
# One GoogleTest executable per test folder; every test runs headless. Each NEEDS entry gives
# the tests its GoogleTest filter matches one more label ("mpv", "xorriso", "slow"), so that
# `ctest -LE "mpv|xorriso|slow"` runs the fast set in seconds. The filters must not overlap.
function(tarl_test name)
    cmake_parse_arguments(ARG "" "LABEL;SERVER" "DEPENDS;NEEDS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    if(NOT sources MATCHES "\\.cpp")
        return() # no tests yet
    endif()
    add_executable(${name} ${sources})
    target_link_libraries(${name} PRIVATE tarl_test_support ${ARG_DEPENDS} GTest::gtest GTest::gmock)
    set(labelled "")
    foreach(need IN LISTS ARG_NEEDS)
        string(REPLACE "=" ";" parts "${need}")
        list(GET parts 0 label)
        list(GET parts 1 filter)
        gtest_discover_tests(${name}
            TEST_FILTER "${filter}"
            TEST_LIST ${name}_${label}_TESTS
            DISCOVERY_MODE PRE_TEST
            DISCOVERY_TIMEOUT 60
            PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
        # The discovery passes its properties on word by word, so a list of labels is set by a
        # script of our own that ctest reads after the discovered tests.
        set(script "${CMAKE_CURRENT_BINARY_DIR}/${name}_${label}_labels.cmake")
        file(WRITE "${script}"
            "if(${name}_${label}_TESTS)\n"
            "  set_tests_properties(\${${name}_${label}_TESTS} PROPERTIES LABELS \"${ARG_LABEL};${label}\")\n"
            "endif()\n")
        set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${script}")
        string(APPEND labelled ":${filter}")
    endforeach()
    set(rest "")
    if(labelled)
        string(SUBSTRING "${labelled}" 1 -1 labelled)
        set(rest TEST_FILTER "-${labelled}")
    endif()
    gtest_discover_tests(${name}
        ${rest}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        PROPERTIES LABELS "${ARG_LABEL}" ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
    # SERVER: the tests of this filter run a second time, named "server.<test>" and labelled pg,
    # with their catalogs on the PostgreSQL test server.
    if(ARG_SERVER)
        gtest_discover_tests(${name}
            TEST_FILTER "${ARG_SERVER}"
            TEST_PREFIX "server."
            EXTRA_ARGS "--catalog-engine=postgres"
            TEST_LIST ${name}_server_TESTS
            DISCOVERY_MODE PRE_TEST
            DISCOVERY_TIMEOUT 60
            PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
        set(script "${CMAKE_CURRENT_BINARY_DIR}/${name}_server_labels.cmake")
        file(WRITE "${script}"
            "if(${name}_server_TESTS)\n"
            "  set_tests_properties(\${${name}_server_TESTS} PROPERTIES LABELS \"${ARG_LABEL};pg\")\n"
            "endif()\n")
        set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${script}")
    endif()
endfunction()
