#pragma once
// What a write does when a file of the target's name already exists.

enum class ExistingFile : unsigned char {
    Replace,  // the new contents take its place
    Keep,     // the write fails and the existing file stays untouched, even when it
              // appears only while the new contents are being written
};
