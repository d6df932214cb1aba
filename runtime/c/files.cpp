// The C interface of files and output.
#include "runtime/c/c_interface.h"

namespace cv = corvala;
using cv::c_interface::AsC;
using cv::c_interface::Text;
using cv::c_interface::ToC;

CV_SAME_FIELD(cv_FileBytes, cv::FileBytes, count);
CV_SAME_FIELD(cv_FileBytes, cv::FileBytes, buffer);
CV_SAME_FIELD(cv_KeyPress, cv::KeyPress, code);
CV_SAME_FIELD(cv_KeyPress, cv::KeyPress, extended);
CV_SAME_FIELD(cv_FileDifference, cv::FileDifference, difference);
CV_SAME_FIELD(cv_FileDifference, cv::FileDifference, position);
CV_SAME_FIELD(cv_StringResource, cv::StringResource, id);
CV_SAME_FIELD(cv_StringResource, cv::StringResource, text);
CV_SAME_FIELD(cv_FindDataRecord, cv::FindDataRecord, dwFileAttributes);
CV_SAME_FIELD(cv_FindDataRecord, cv::FindDataRecord, ftCreationTime);
CV_SAME_FIELD(cv_FindDataRecord, cv::FindDataRecord, ftLastAccessTime);
CV_SAME_FIELD(cv_FindDataRecord, cv::FindDataRecord, ftLastWriteTime);
CV_SAME_FIELD(cv_FindDataRecord, cv::FindDataRecord, nFileSizeHigh);
CV_SAME_FIELD(cv_FindDataRecord, cv::FindDataRecord, nFileSizeLow);
CV_SAME_FIELD(cv_FindDataRecord, cv::FindDataRecord, cFileName);
CV_SAME_FIELD(cv_FindDataRecord, cv::FindDataRecord, cAlternateFileName);
CV_SAME_FIELD(cv_FileSizeHalves, cv::FileSizeHalves, low);
CV_SAME_FIELD(cv_FileSizeHalves, cv::FileSizeHalves, high);

static_assert(CV_OPEN_FAILED == cv::kOpenFailed);
static_assert(CV_BUILD_WAIT_KEY == cv::kBuildWaitKey && CV_BUILD_WIDE == cv::kBuildWide &&
              CV_TARGET_BUFFER == cv::kTargetBuffer && CV_TARGET_WINDOW == cv::kTargetWindow &&
              CV_TARGET_WINDOW_WIDE == cv::kTargetWindowWide &&
              CV_BUILD_TRACKED == cv::kBuildTracked && CV_BUILD_ASSIGN == cv::kBuildAssign &&
              CV_BUILD_TO_FILE(7) == cv::BuildToFile(7));
static_assert(CV_FILE_ATTRIBUTE_NORMAL == cv::kFileAttributeNormal);
// The pieces of BuildText are words; a cv_text is one.
static_assert(sizeof(cv_text) == sizeof(cv::Word));

extern "C" {

cv_word CV_CALL cv_OpenInput(int32_t fileNumber, const char* name, cv_text search) noexcept {
  return cv::OpenInput(fileNumber, name, Text(search));
}
cv_word CV_CALL cv_OpenOutput(int32_t fileNumber, const char* name, int32_t mode) noexcept {
  return cv::OpenOutput(fileNumber, name, mode);
}
cv_FileBytes CV_CALL cv_ReadFromFile(int32_t fileNumber, void* buffer, int32_t count) noexcept {
  return ToC<cv_FileBytes>(cv::ReadFromFile(fileNumber, buffer, count));
}
int32_t CV_CALL cv_TouchFile(cv_word handle, int32_t check) noexcept {
  return cv::TouchFile(handle, check);
}
int32_t CV_CALL cv_Store(cv_text file, int32_t arrayNumber, int32_t count) noexcept {
  return cv::Store(Text(file), arrayNumber, count);
}

cv_word CV_CALL cv_BuildText(uint32_t control, const cv_text* pieces) noexcept {
  return cv::BuildText(control, reinterpret_cast<const cv::Word*>(pieces));
}
void CV_CALL cv_TargetBuffer(char* buffer, uint32_t capacity) noexcept {
  cv::TargetBuffer(buffer, capacity);
}
void CV_CALL cv_TargetVariable(cv_ElementRecord* variable) noexcept {
  cv::TargetVariable(*reinterpret_cast<cv::ElementRecord*>(variable));
}
cv_word* CV_CALL cv_OutputWindow(void) noexcept { return &cv::OutputWindow; }
int32_t* CV_CALL cv_WriteByteCount(void) noexcept { return &cv::WriteByteCount; }
uint32_t CV_CALL cv_ConsoleWrite(const char* text) noexcept { return cv::ConsoleWrite(text); }
cv_KeyPress CV_CALL cv_WaitKey(void) noexcept { return ToC<cv_KeyPress>(cv::WaitKey()); }

cv_FileDifference CV_CALL cv_FileCompare(const char* name1, const char* name2,
                                         int32_t mode) noexcept {
  return ToC<cv_FileDifference>(cv::FileCompare(name1, name2, mode));
}
const char* CV_CALL cv_CommandLineArg(int32_t index) noexcept { return cv::CommandLineArg(index); }
const char* CV_CALL cv_ResourceString(int32_t id) noexcept { return cv::ResourceString(id); }
void CV_CALL cv_RegisterStringTable(const cv_StringResource* entries, int32_t count) noexcept {
  cv::RegisterStringTable(AsC<const cv::StringResource>(entries), count);
}

cv_word CV_CALL cv_FindFile(const char* pattern, int32_t closeSearch) noexcept {
  return cv::FindFile(pattern, closeSearch);
}
cv_FindDataRecord* CV_CALL cv_FindData(void) noexcept {
  return AsC<cv_FindDataRecord>(&cv::FindData);
}
cv_word* CV_CALL cv_FindHandle(void) noexcept { return &cv::FindHandle; }
cv_FileSizeHalves CV_CALL cv_FileSize(cv_text file) noexcept {
  return ToC<cv_FileSizeHalves>(cv::FileSize(Text(file)));
}
const char* CV_CALL cv_FileReadStr(const char* name) noexcept { return cv::FileRead$(name); }

}  // extern "C"
