# The AppStream description that software centres show, from resources/linux/pelmora.metainfo.xml.in.
# Screenshots must be web addresses: they are listed only when PELMORA_SCREENSHOT_URL names
# the folder where the manual's images are published.
set(PELMORA_METAINFO_ID com.orvane.pelmora)
set(PELMORA_METAINFO_SCREENSHOTS "")
if(PELMORA_SCREENSHOT_URL)
  set(shots
      "avg-peak-screen.png|The AVG &amp; PEAK screen measuring"
      "pulse-screen.png|The PULSE screen"
      "ccdf-screen.png|The CCDF screen"
      "history-viewer.png|A history in the history viewer")
  string(APPEND PELMORA_METAINFO_SCREENSHOTS "  <screenshots>\n")
  set(type " type=\"default\"")
  foreach(shot IN LISTS shots)
    string(REPLACE "|" ";" parts "${shot}")
    list(GET parts 0 image)
    list(GET parts 1 caption)
    string(APPEND PELMORA_METAINFO_SCREENSHOTS
           "    <screenshot${type}>\n      <caption>${caption}</caption>\n"
           "      <image>${PELMORA_SCREENSHOT_URL}/${image}</image>\n    </screenshot>\n")
    set(type "")
  endforeach()
  string(APPEND PELMORA_METAINFO_SCREENSHOTS "  </screenshots>\n")
endif()
configure_file(${CMAKE_SOURCE_DIR}/resources/linux/pelmora.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/packaging/${PELMORA_METAINFO_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/packaging/${PELMORA_METAINFO_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
