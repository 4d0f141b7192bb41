# cmake -DFOLDER=path -P fresh_folder.cmake: the folder, empty. A short fuzz
# run starts from the kept corpus alone, so that it is the same run each time.
file(REMOVE_RECURSE "${FOLDER}")
file(MAKE_DIRECTORY "${FOLDER}")
