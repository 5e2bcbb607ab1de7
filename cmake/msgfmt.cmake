# Checks a translation and compiles it: -DMSGFMT=msgfmt -DPO=po/en.po -DMO=out
# msgfmt --check finds format and header faults; a text left untranslated or fuzzy would be
# drawn in Japanese in the middle of the other language, so either fails the build too.
execute_process(COMMAND ${MSGFMT} --check --statistics -o ${MO} ${PO}
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${PO}: msgfmt --check failed:\n${out}")
endif()
if(out MATCHES "fuzzy|untranslated")
  file(REMOVE ${MO})
  message(FATAL_ERROR "${PO}: every text must be translated and none fuzzy: ${out}")
endif()
