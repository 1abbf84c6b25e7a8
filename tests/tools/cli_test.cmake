# Runs quindle-host's verbs end to end, as a user would, in the build directory:
#   cmake -DHOST=<quindle-host> -DMODULE=<Quindle.so|Quindle.dll> [-DEMULATOR=<wine-run.sh>]
#         [-DLV2_BUNDLE=<Quindle.lv2>] [-DVST3_BUNDLE=<Quindle.vst3>] -P cli_test.cmake
# Checks exit codes, the files written and what the verbs print; with an LV2 bundle also
# what the verbs do with a plug-in of another format, and so with a VST 3 bundle.
cmake_minimum_required(VERSION 3.21)

set(failures 0)

# run(<expected exit code> <name of stdout variable> ARGS...)
function(run expected outVar)
  execute_process(COMMAND ${EMULATOR} ${HOST} ${ARGN}
                  RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT code EQUAL expected)
    message(SEND_ERROR "quindle-host ${ARGN}: exit ${code}, expected ${expected}\n${out}${err}")
  endif()
  set(${outVar} "${out}${err}" PARENT_SCOPE)
endfunction()

function(expect_size path size)
  if(NOT EXISTS ${path})
    message(SEND_ERROR "${path} was not written")
    return()
  endif()
  file(SIZE ${path} actual)
  if(NOT actual EQUAL size)
    message(SEND_ERROR "${path} has ${actual} bytes, expected ${size}")
  endif()
endfunction()

# The same render through the module and through `plugin` must give the same file.
function(expect_render_as_module plugin output what)
  run(0 out render ${MODULE} cli_chord.txt cli_chord.wav --program 6 --set 5=0.75 --block 100)
  run(0 out render ${plugin} cli_chord.txt ${output} --program 6 --set 5=0.75 --block 100)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files cli_chord.wav ${output} RESULT_VARIABLE differ)
  if(differ)
    message(SEND_ERROR "the ${what}'s render differs from the module's")
  endif()
endfunction()

function(expect_match text regex what)
  if(NOT text MATCHES "${regex}")
    message(SEND_ERROR "${what}: no match for '${regex}' in:\n${text}")
  endif()
endfunction()

file(REMOVE cli_chord.txt cli_chord.wav cli_lv2.wav cli_vst3.wav cli_bank.fxb cli_edit.fxp cli_missing.wav
            cli_missing.fxb)
file(WRITE cli_chord.txt "# a chord\n0.1 on 60 100\n0.1 on 64 100\n0.3 bend 12000\n0.5 off 60\n0.5 off 64\n")

# A 16-bit render at 48 kHz: the last event at 0.5 s plus a 0.25 s tail, 4 bytes a frame.
run(0 out render ${MODULE} cli_chord.txt cli_chord.wav --rate 48000 --block 64 --tail 0.25 --format s16)
expect_size(cli_chord.wav 144044)

# A bank saved with program 3 current: 768 bytes, current program field 3 (big-endian).
run(0 out save-bank ${MODULE} cli_bank.fxb --program 3)
expect_size(cli_bank.fxb 768)
file(READ cli_bank.fxb header OFFSET 0 LIMIT 32 HEX)
expect_match("${header}" "^43636e4b000002f84642436800000002564b5144000000010000000800000003$" "bank header")
run(0 out load-preset ${MODULE} cli_bank.fxb)
expect_match("${out}" "current program 3 \"FM Classic 2\"" "load-preset")

# A program saved after an edit brings the edit back through --preset.
run(0 out save-program ${MODULE} cli_edit.fxp --set 5=0.75,12=0.5)
expect_size(cli_edit.fxp 112)
run(0 out info ${MODULE} --preset cli_edit.fxp)
expect_match("${out}" "unique ID +'VKQD' \\(0x564B5144\\)" "info identity")
expect_match("${out}" "5  Tone +Ynk +A few +0\\.75" "info after --preset")
expect_match("${out}" "12  Volume +Ynk +A few +0\\.5" "info after --preset")

# Failures: nothing written, the right exit code, a message that names the problem.
run(1 out render ${MODULE} cli_missing.txt cli_missing.wav)
expect_match("${out}" "cannot open cli_missing.txt" "missing input")
if(EXISTS cli_missing.wav)
  message(SEND_ERROR "a failed render left cli_missing.wav behind")
endif()
run(2 out render ${MODULE} cli_chord.txt cli_missing.wav --rate 10)
expect_match("${out}" "--rate expects" "bad rate")
run(2 out render ${MODULE} cli_chord.txt)
run(1 out load-preset ${MODULE} cli_chord.wav)
expect_match("${out}" "not a preset file: starts with 'RIFF'" "foreign preset")
# A file of another kind as the input: said in words, none of its bytes raw.
run(1 out render ${MODULE} cli_chord.wav cli_missing.wav)
expect_match("${out}" "cli_chord.wav: neither a Standard MIDI File .* nor a text event list \\(byte [0-9]+ is \\\\x" "foreign input")
if(out MATCHES "[^\n -~]")
  message(SEND_ERROR "unprintable bytes in the message:\n${out}")
endif()
# A program whose name holds a terminal escape sequence and control characters: the
# name reaches the module as it is and the terminal only escaped.
file(COPY ${CMAKE_CURRENT_LIST_DIR}/data/control-characters-name.fxp DESTINATION .)
run(0 out load-preset ${MODULE} control-characters-name.fxp)
expect_match("${out}" "current program 0 \"\\\\x1B\\[2J\\\\x07Bell\\\\x0A\"" "escaped program name")
if(out MATCHES "[^\n -~]")
  message(SEND_ERROR "unprintable bytes in the output:\n${out}")
endif()
file(REMOVE control-characters-name.fxp)
run(2 out frobnicate)
run(0 out --help)
expect_match("${out}" "save-bank MODULE OUT.fxb" "help")

# A plug-in of another format: rendered by the same verb to the same bytes, described by
# info, and refused plainly by what only VST 2.4 modules have.
if(LV2_BUNDLE)
  run(0 out info ${LV2_BUNDLE})
  expect_match("${out}" "format +LV2\n" "LV2 info format")
  expect_match("${out}" "parameters +13\n" "LV2 info parameter count")
  expect_match("${out}" "programs +8\n" "LV2 info program count")
  expect_match("${out}" "\n +12  Volume " "LV2 info parameter names")
  expect_match("${out}" "\n +7  Knocky " "LV2 info program names")
  expect_render_as_module(${LV2_BUNDLE} cli_lv2.wav "LV2 bundle")
  run(2 out render ${LV2_BUNDLE} cli_chord.txt cli_missing.wav --preset cli_edit.fxp)
  expect_match("${out}" "--preset loads .fxp and .fxb files into VST 2.4 modules only" "LV2 --preset")
  run(2 out save-bank ${LV2_BUNDLE} cli_missing.fxb)
  expect_match("${out}" "save-bank works with VST 2.4 modules only, and .* is an LV2 bundle" "LV2 save-bank")
  if(EXISTS cli_missing.wav OR EXISTS cli_missing.fxb)
    message(SEND_ERROR "a refused verb left a file behind")
  endif()
endif()

# The VST 3 bundle: described by info, rendered to the module's bytes.
if(VST3_BUNDLE)
  run(0 out info ${VST3_BUNDLE})
  expect_match("${out}" "format +VST 3\n" "VST 3 info format")
  expect_match("${out}" "class ID +313AD1CA8CA451ABFD5F28A91212A113\n" "VST 3 info class")
  expect_match("${out}" "parameters +13\n" "VST 3 info parameter count")
  expect_match("${out}" "programs +8, current 0 \"Basic 1\"\n" "VST 3 info programs")
  expect_match("${out}" "\n +4  T Mode +on " "VST 3 info value texts")
  expect_render_as_module(${VST3_BUNDLE} cli_vst3.wav "VST 3 bundle")
  run(2 out save-bank ${VST3_BUNDLE} cli_missing.fxb)
  expect_match("${out}" "save-bank works with VST 2.4 modules only, and .* is a VST 3 bundle" "VST 3 save-bank")
endif()

file(REMOVE cli_chord.txt cli_chord.wav cli_lv2.wav cli_vst3.wav cli_bank.fxb cli_edit.fxp)
