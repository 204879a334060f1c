# cmake -DROOT=<staging folder> -DBUILD=<build tree> -P install_tree.cmake
# A fresh install of the build tree into ROOT with the prefix /usr.
file(REMOVE_RECURSE ${ROOT})
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${ROOT} ${CMAKE_COMMAND} --install ${BUILD} --prefix /usr
    COMMAND_ERROR_IS_FATAL ANY)
