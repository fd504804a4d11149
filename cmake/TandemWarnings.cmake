# The warnings every target of this tree is compiled with, set per target so that a project
# that takes tandem in with add_subdirectory keeps its own.
function(tandem_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
endfunction()
