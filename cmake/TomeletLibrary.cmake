# tomelet_library(<name> [DEPENDS <targets...>]): a static library from every .cpp in the
# calling folder, with the project root on its include path ("package/Package.h").
function(tomelet_library name)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "DEPENDS")
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    if(sources)
        add_library(${name} STATIC ${sources})
        target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
        target_link_libraries(${name} PUBLIC ${arg_DEPENDS})
    else()
        # A folder of headers only.
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
        target_link_libraries(${name} INTERFACE ${arg_DEPENDS})
    endif()
endfunction()

# tomelet_test(<name> [DEPENDS <targets...>]): one GoogleTest binary from every .cpp in the
# calling folder, its tests registered with CTest.
function(tomelet_test name)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "DEPENDS")
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    if(NOT sources)
        return()
    endif()
    add_executable(${name} ${sources})
    target_link_libraries(${name} PRIVATE ${arg_DEPENDS} GTest::gtest GTest::gtest_main GTest::gmock)
    target_compile_definitions(${name} PRIVATE
        TOMELET_SOURCE_DIR="${PROJECT_SOURCE_DIR}" TOMELET_BINARY_DIR="${PROJECT_BINARY_DIR}")
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST)
endfunction()
