// The constants of the one release this updater serves. They are fixed when
// the updater is built (CMake cache variables VELNA_*) and nothing at run time
// reads or changes them.
#pragma once

#include "core/version.h"
#include "core/version_text.h"
#include "release_profile_values.h"

#include <string_view>

inline constexpr const char* ProductDisplayName = release_profile_values::ProductDisplayName;
inline constexpr const char* MainProgramFileName = release_profile_values::MainProgramFileName;
inline constexpr const char* ProductKey = release_profile_values::ProductKey;
inline constexpr const char* PayloadResourceType = release_profile_values::PayloadResourceType;
inline constexpr const char* PayloadResourceName = release_profile_values::PayloadResourceName;
inline constexpr const char* ApplicationTitle = release_profile_values::ApplicationTitle;
inline constexpr const char* CaptionVersionPrefix = release_profile_values::CaptionVersionPrefix;

namespace release_profile_detail {
// The release version is written with "." whatever the build machine's locale.
inline constexpr auto ReleaseVersionTenThousandths =
    version_text::ParseTenThousandths(release_profile_values::ReleaseVersionText, '.');
}  // namespace release_profile_detail

static_assert(release_profile_detail::ReleaseVersionTenThousandths.has_value(), VELNA_RELEASE_VERSION_PROBLEM);
static_assert(std::string_view(release_profile_values::ProductDisplayName).size() > 0,
              "VELNA_PRODUCT_DISPLAY_NAME is empty: name the product");
static_assert(std::string_view(release_profile_values::MainProgramFileName).size() > 0,
              "VELNA_MAIN_PROGRAM_FILE_NAME is empty: name the main program's file");
static_assert(std::string_view(release_profile_values::ProductKey).size() > 0,
              "VELNA_PRODUCT_KEY is empty: name the installation record's key");
static_assert(std::string_view(release_profile_values::PayloadResourceType).size() > 0 &&
                  std::string_view(release_profile_values::PayloadResourceName).size() > 0,
              "VELNA_PAYLOAD_RESOURCE_TYPE and VELNA_PAYLOAD_RESOURCE_NAME must not be empty");

inline constexpr VersionValue ReleaseVersion{release_profile_detail::ReleaseVersionTenThousandths.value_or(0)};
