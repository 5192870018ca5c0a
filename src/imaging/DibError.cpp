#include "dibimage.h"

const char* DibErrorText(DibError error)
{
    switch (error) {
    case DibError::None: return "success";
    case DibError::BadHandle: return "no image behind this handle";
    case DibError::BadArgument: return "argument out of range";
    case DibError::TooLarge: return "image larger than the library's limit";
    case DibError::OutOfMemory: return "out of memory";
    case DibError::WrongDepth: return "conversion does not apply to this colour depth";
    case DibError::CannotCreate: return "cannot create the file";
    case DibError::WriteFailed: return "writing the file failed";
    case DibError::EncoderFailed: return "the encoder reported an error";
    case DibError::DecodeFailed: return "the image file cannot be read";
    case DibError::FileExists: return "a file of that name exists";
    case DibError::NotYours: return "the name is another user's link or file in a shared folder";
    }
    return "unknown error";
}
