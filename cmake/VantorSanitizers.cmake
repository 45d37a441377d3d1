# -DVANTOR_SANITIZE=ON builds the whole tree with AddressSanitizer (LeakSanitizer
# included) and UndefinedBehaviorSanitizer; tools/test-sanitized uses it.
if(VANTOR_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
