#include "device/HidNodeSource.h"

namespace zarvin {

const char* HidErrorText(HidError error) {
    switch (error) {
        case HidError::None:
            return "no error";
        case HidError::NotFound:
            return "no such device";
        case HidError::PermissionDenied:
            return "permission denied";
        case HidError::Busy:
            return "device busy";
        case HidError::Gone:
            return "device gone";
        case HidError::TimedOut:
            return "timed out";
        case HidError::Stopped:
            return "stopped";
        case HidError::BadDescriptor:
            return "bad report descriptor";
        case HidError::PathTooLong:
            return "path too long";
        case HidError::Io:
            return "input/output error";
    }
    return "unknown error";
}

}  // namespace zarvin
