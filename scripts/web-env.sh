# Sourced by the web scripts: Debian's emscripten as it must be called here.
# Its tools need Debian's node-acorn, which a Node.js not from Debian does not
# find by itself, and Debian's Python rather than one earlier on the PATH.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
export EMSDK_PYTHON=/usr/bin/python3
