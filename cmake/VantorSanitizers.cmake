# -DVANTOR_SANITIZE=ON builds the whole tree with AddressSanitizer (LeakSanitizer
# included) and UndefinedBehaviorSanitizer; README "Tests" shows how to run every test with it.
if(VANTOR_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
