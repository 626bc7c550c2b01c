#pragma once

class File;
class Picture;

// Decodes an uncompressed 24- or 32-bit bottom-up BMP from an open file into
// picture. Throws Exception for a wrong header, another bit depth, an
// unsupported size, or pixel data that the file is too short to hold (the
// last row's padding may be missing); nothing is allocated then.
void ReadBmp(File& file, Picture& picture, const char* path);
