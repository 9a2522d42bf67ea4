# One place for the warnings and sanitizers that every target of ours gets.
function(rv_target_options target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow)
  if(RV_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  if(RV_SANITIZE)
    target_compile_options(${target} PRIVATE
      -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()
