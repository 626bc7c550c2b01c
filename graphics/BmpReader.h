#pragma once

class File;
class Picture;

// Decodes an uncompressed 24- or 32-bit bottom-up BMP from an open file into
// picture. Bytes missing at the end of the file read as 0. Throws Exception
// for a wrong header, another bit depth or an unsupported size.
void ReadBmp(File& file, Picture& picture, const char* path);
