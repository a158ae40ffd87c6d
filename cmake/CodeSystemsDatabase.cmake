# The code-system database of the program folder (SPLCodeSystems.sqlite), written at
# build time by tools/codesystemsdb from the committed lists in tools/codesystemsdb/lists/.
# The lists live outside data/ on purpose: data/ is copied into the program folder,
# and the program reads only the database, never its sources.
# Include this file once from the top-level CMakeLists.txt; its work runs at the end
# of the top-level directory, when the program, test and benchmark targets exist.
include_guard(GLOBAL)

function(veldra_codesystems_database)
  set(tool_dir ${CMAKE_SOURCE_DIR}/tools/codesystemsdb)
  file(GLOB tool_sources CONFIGURE_DEPENDS ${tool_dir}/*.cpp ${tool_dir}/*.h)
  list(FILTER tool_sources EXCLUDE REGEX "/main\\.cpp$")
  add_library(veldra_codesystems_tools STATIC ${tool_sources})
  target_include_directories(veldra_codesystems_tools PUBLIC ${CMAKE_SOURCE_DIR}/tools)
  target_link_libraries(veldra_codesystems_tools PUBLIC veldra_platform)

  add_executable(build_codesystems_db ${tool_dir}/main.cpp)
  target_link_libraries(build_codesystems_db PRIVATE veldra_codesystems_tools)
  set_target_properties(build_codesystems_db PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

  set(lists_dir ${tool_dir}/lists)
  file(GLOB lists CONFIGURE_DEPENDS ${lists_dir}/*.tsv)
  set(database ${VELDRA_PROGRAM_DIR}/SPLCodeSystems.sqlite)
  add_custom_command(OUTPUT ${database}
    COMMAND build_codesystems_db --sources ${lists_dir} --output ${database}
    DEPENDS build_codesystems_db ${lists}
    COMMENT "Writing the code-system database SPLCodeSystems.sqlite"
    VERBATIM)
  add_custom_target(codesystems_database ALL DEPENDS ${database})
  if(TARGET veldra)
    add_dependencies(veldra codesystems_database)
  endif()
  install(FILES ${database} DESTINATION lib/veldra)

  if(TARGET veldra_codesystems_tests)
    target_link_libraries(veldra_codesystems_tests PRIVATE veldra_codesystems_tools)
    target_compile_definitions(veldra_codesystems_tests PRIVATE VELDRA_CODE_LISTS_DIR="${lists_dir}")
    add_dependencies(veldra_codesystems_tests codesystems_database)
  endif()
  if(TARGET veldra_splbuilder_tests)
    target_link_libraries(veldra_splbuilder_tests PRIVATE veldra_codesystems_tools)
    target_compile_definitions(veldra_splbuilder_tests PRIVATE VELDRA_CODE_LISTS_DIR="${lists_dir}")
  endif()
  if(TARGET codesystems_bench)
    target_link_libraries(codesystems_bench PRIVATE veldra_codesystems veldra_codesystems_tools)
  endif()
endfunction()

cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL veldra_codesystems_database)
