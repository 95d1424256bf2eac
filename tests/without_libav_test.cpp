// SPDX-License-Identifier: GPL-3.0-or-later
// Built without FFmpeg's headers, the decoder source yields nothing, so
// every codec shows as not installed and the installed list is empty.
#include <gtest/gtest.h>

#include "platform/libav_decoder_source.h"

#if QUIBO_WITH_LIBAV
#error "this test must be built without FFmpeg's headers"
#endif

TEST(WithoutLibav, NoDecoderIsInstalled) {
    quibo::LibavDecoderSource source;
    EXPECT_TRUE(source.Decoders().empty());
    EXPECT_TRUE(source.Decoders().empty());
}
