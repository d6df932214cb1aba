// The C interface of strings and string arrays.
#include "runtime/c/c_interface.h"

namespace cv = corvala;
using cv::c_interface::AsC;
using cv::c_interface::Text;
using cv::c_interface::ToC;

CV_SAME_FIELD(cv_RecallResult, cv::RecallResult, lines);
CV_SAME_FIELD(cv_RecallResult, cv::RecallResult, bytes);
CV_SAME_FIELD(cv_TextComparison, cv::TextComparison, difference);
CV_SAME_FIELD(cv_TextComparison, cv::TextComparison, offset);
CV_SAME_FIELD(cv_FoundText, cv::FoundText, address);
CV_SAME_FIELD(cv_FoundText, cv::FoundText, position);
CV_SAME_FIELD(cv_ElementAccess, cv::ElementAccess, arrayNumber);
CV_SAME_FIELD(cv_ElementAccess, cv::ElementAccess, index);
CV_SAME_FIELD(cv_FieldAccess, cv::FieldAccess, record);
CV_SAME_FIELD(cv_FieldAccess, cv::FieldAccess, elementText);
CV_SAME_FIELD(cv_FieldAccess, cv::FieldAccess, elementLength);
CV_SAME_FIELD(cv_FieldAccess, cv::FieldAccess, fieldStart);
CV_SAME_FIELD(cv_FieldAccess, cv::FieldAccess, fieldLength);

static_assert(CV_FIND_IGNORE_CASE == cv::FindIgnoreCase &&
              CV_FIND_FIRST_IGNORE_CASE == cv::FindFirstIgnoreCase &&
              CV_FIND_WHOLE_WORD == cv::FindWholeWord && CV_FIND_REVERSE == cv::FindReverse &&
              CV_FIND_WIDE == cv::FindWide);
static_assert(CV_TWO_INDEX_BIT == cv::kTwoIndex && CV_FIRST_INDEX_MASK == cv::kFirstIndexMask &&
              CV_SECOND_INDEX_SHIFT == cv::kSecondIndexShift &&
              CV_TWO_INDEX(0x12345, 0x1FF) == cv::TwoIndex(0x12345, 0x1FF));
static_assert(CV_IS_TWO_INDEX(cv::TwoIndex(1, 2)) && !CV_IS_TWO_INDEX(5) &&
              CV_FIRST_INDEX(cv::TwoIndex(0x12345, 7)) == 0x12345 &&
              CV_SECOND_INDEX(cv::TwoIndex(0x12345, 7)) == 7);
static_assert(CV_FIELD_BUFFER_SIZE == cv::kFieldBufferSize);
static_assert(CV_TRIM_LEADING == cv::TrimLeading && CV_TRIM_TRAILING == cv::TrimTrailing);
static_assert(CV_SUBSTITUTE_LIMIT_SHIFT == cv::kSubstituteLimitShift);

extern "C" {

cv_RecallResult CV_CALL cv_Recall(cv_text file, int32_t arrayNumber, cv_word userValue,
                                  int32_t marker, int32_t* lineCount) noexcept {
  const cv::RecallMode mode = lineCount ? cv::RecallMode(lineCount) : cv::RecallMode(marker);
  return ToC<cv_RecallResult>(cv::Recall(Text(file), arrayNumber, userValue, mode));
}
int32_t* CV_CALL cv_BareLineFeedCount(void) noexcept { return &cv::BareLineFeedCount; }

uint32_t CV_CALL cv_TextLength(const char* text) noexcept { return cv::TextLength(text); }
uint32_t CV_CALL cv_WideTextLength(const uint16_t* text) noexcept {
  return cv::WideTextLength(reinterpret_cast<const char16_t*>(text));
}
char* CV_CALL cv_CopyBytes(char* destination, const char* source, int32_t count) noexcept {
  return cv::CopyBytes(destination, source, count);
}
cv_TextComparison CV_CALL cv_CompareTexts(const char* a, const char* b, int32_t mode) noexcept {
  return ToC<cv_TextComparison>(cv::CompareTexts(a, b, mode));
}
cv_FoundText CV_CALL cv_FindText(int32_t start, cv_text text, cv_text pattern,
                                 uint32_t flags) noexcept {
  return ToC<cv_FoundText>(cv::FindText(start, Text(text), Text(pattern), flags));
}
int32_t* CV_CALL cv_LastFoundPosition(void) noexcept { return &cv::LastFoundPosition; }

cv_ArrayDescriptor* CV_CALL cv_DimArray(int32_t arrayNumber, int32_t n,
                                        cv_word userValue) noexcept {
  return AsC<cv_ArrayDescriptor>(cv::DimArray(arrayNumber, n, userValue));
}
void CV_CALL cv_SwapArrays(int32_t a, int32_t b) noexcept { cv::SwapArrays(a, b); }
cv_ElementAccess* CV_CALL cv_LastElementAccess(void) noexcept {
  return AsC<cv_ElementAccess>(&cv::LastElementAccess);
}
void CV_CALL cv_InsertElements(int32_t n) noexcept { cv::InsertElements(n); }
void* CV_CALL cv_DimRecordArray(int32_t arrayNumber, int32_t recordSize,
                                int32_t maxIndex) noexcept {
  return cv::DimRecordArray(arrayNumber, recordSize, maxIndex);
}
void CV_CALL cv_CopyRecord(int32_t source, int32_t destination, int32_t arrayNumber) noexcept {
  cv::CopyRecord(source, destination, arrayNumber);
}
cv_TextRecord CV_CALL cv_ElementText(int32_t arrayNumber, uint32_t index) noexcept {
  return ToC<cv_TextRecord>(cv::ElementText(arrayNumber, index));
}
const char* CV_CALL cv_FieldBuffer(void) noexcept { return cv::FieldBuffer(); }
cv_FieldAccess* CV_CALL cv_LastFieldAccess(void) noexcept {
  return AsC<cv_FieldAccess>(&cv::LastFieldAccess);
}
void CV_CALL cv_SortArray(int32_t arrayNumber, int32_t count) noexcept {
  cv::SortArray(arrayNumber, count);
}

const char* CV_CALL cv_SliceText(cv_text source, int32_t count, int32_t start) noexcept {
  return cv::SliceText(Text(source), count, start);
}
const char* CV_CALL cv_TrimText(const char* source, uint32_t flags) noexcept {
  return cv::TrimText(source, flags);
}
const char* CV_CALL cv_ConvertCase(const char* source, int32_t upper) noexcept {
  return cv::ConvertCase(source, upper);
}

int32_t CV_CALL cv_SubstituteText(const char* text, const char* sought, const char* replacement,
                                  uint32_t control) noexcept {
  return cv::SubstituteText(text, sought, replacement, control);
}
const char* CV_CALL cv_NewStr(int32_t n) noexcept { return cv::New$(n); }
int32_t CV_CALL cv_IsDeferredText(const char* text) noexcept {
  return cv::IsDeferredText(text) ? 1 : 0;
}
uint32_t CV_CALL cv_ExpandDeferredText(const char* descriptor, char* output,
                                       uint32_t capacity) noexcept {
  return cv::ExpandDeferredText(descriptor, output, capacity);
}

}  // extern "C"
