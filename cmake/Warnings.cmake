# Warnings are errors in our own targets; third-party headers are included as system headers.
function(anitrope_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
    -Wno-sign-conversion -Wnon-virtual-dtor -Wold-style-cast -Wcast-align -Woverloaded-virtual -Werror)
endfunction()

# One static library per source folder: every .cpp in it, found by glob so that adding a
# concept is adding its file.
function(anitrope_library name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  anitrope_warnings(${name})
endfunction()
