#pragma once

// Cloud environments selected by the host's "cloudType".
namespace CloudAPI {

enum CloudType : int {
    Official = 0,
    Test = 1,
    Dev = 2,
};

constexpr bool isTypeOfficial(int type) { return type == Official; }
constexpr bool isTypeTest(int type) { return type == Test; }
constexpr bool isTypeDev(int type) { return type == Dev; }

} // namespace CloudAPI
