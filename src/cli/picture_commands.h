#pragma once

#include "cli_context.h"

namespace velarix::cli {

// picture decode -i DUMP [--size WxH] [--shape 16:9|4:3|original] -o FILE
//                [--format bmp|jpeg] [--quality 1-100]
int PictureDecode(CliContext& context);

}  // namespace velarix::cli
