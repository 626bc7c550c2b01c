#pragma once

class File;
class Picture;

// Decodes a PNG of any colour type and bit depth from an open file into
// picture through libpng. Throws Exception for a missing or wrong signature,
// data that ends early, an unsupported size or channel count; a corrupt file
// ends the program through FatalError ("PNG Error: ...").
void ReadPng(File& file, Picture& picture, const char* path);
