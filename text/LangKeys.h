#pragma once
// Every section and key the program reads from lang.ini. No other is read.
namespace lang {

constexpr char kSectionTitle[] = "title";
constexpr char kSectionControl[] = "control";
constexpr char kSectionMessage[] = "message";

// [title]
constexpr char kWindowTitle[] = "100";
// [control]
constexpr char kCancelCaption[] = "1001";
constexpr char kUpdateCaption[] = "1002";
// [message]
constexpr char kDeviceNotReady[] = "1021";
constexpr char kNotUpdateFile[] = "1022";
constexpr char kUnreadableFile[] = "1023";
constexpr char kDeviceAttached[] = "1024";
constexpr char kDeviceNotAttached[] = "1025";
constexpr char kStageData[] = "1026";
constexpr char kStageFirmware[] = "1027";
constexpr char kStagePcm[] = "1028";
constexpr char kImageSent[] = "1030";
constexpr char kLibraryMissing[] = "1031";
constexpr char kStageImage[] = "1033";

}  // namespace lang
