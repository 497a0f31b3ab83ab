// An iconv conversion descriptor, closed with its owner.
#pragma once

#include <iconv.h>
#include <string>

namespace folivane::platform {

class IconvHandle {
public:
    IconvHandle(const std::string& from, const std::string& to)
        : handle_(iconv_open(to.c_str(), from.c_str())) {}
    ~IconvHandle() {
        if (Valid()) iconv_close(handle_);
    }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;

    bool Valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t Get() const { return handle_; }

private:
    iconv_t handle_;
};

} // namespace folivane::platform
