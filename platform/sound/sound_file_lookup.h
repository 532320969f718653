// Finds the file a sound request names. The name is matched exactly first; when no such entry
// exists, a file in the same folder whose name differs only in the case of ASCII letters is taken
// instead (the first in byte order when several do), so that "a.wav" answers a request for
// "A.wav" as it would on the file systems the sound names come from. Otherwise the path is
// returned unchanged and decoding it fails.
#pragma once

#include <string>

std::string FindSoundFile(const std::string& path);
