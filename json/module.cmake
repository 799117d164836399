# The JSON object's script is compiled into the program; only the Windows half
# (which hands it to the script engine) uses it.
if(WIN32)
  lumiscribe_embed(lumiscribe_core json_object_script ${PROJECT_SOURCE_DIR}/resources/json_object.js)
endif()
