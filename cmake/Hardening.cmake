# The hardening a distribution expects of its executables: checked buffer
# functions, stack canaries, and a relocation table made read-only once the
# program has started (full RELRO, every symbol bound at start).
# Fortify needs the optimiser and fights the sanitizers, so Debug,
# sanitizer and fuzz builds go without it.
option(LUMEN_HARDEN "Build with the usual hardening flags" ON)
if(LUMEN_HARDEN)
  add_compile_options(-fstack-protector-strong)
  if(NOT LUMEN_SANITIZE AND NOT LUMEN_FUZZ)
    add_compile_options($<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE>
                        $<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>)
  endif()
  add_link_options(-Wl,-z,relro,-z,now)
endif()
