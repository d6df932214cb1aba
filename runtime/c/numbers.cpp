// The C interface of the number conversions.
#include "runtime/c/c_interface.h"

namespace cv = corvala;
using cv::c_interface::Text;
using cv::c_interface::ToC;

CV_SAME_FIELD(cv_SseRegisterValue, cv::SseRegisterValue, low);
CV_SAME_FIELD(cv_SseRegisterValue, cv::SseRegisterValue, high);
CV_SAME_FIELD(cv_NumberReading, cv::NumberReading, value);
CV_SAME_FIELD(cv_NumberReading, cv::NumberReading, count);

static_assert(CV_BELOW == static_cast<int>(cv::Comparison::kBelow) &&
              CV_EQUAL == static_cast<int>(cv::Comparison::kEqual) &&
              CV_ABOVE == static_cast<int>(cv::Comparison::kAbove) &&
              CV_UNORDERED == static_cast<int>(cv::Comparison::kUnordered));
static_assert(CV_NUMBER_INT32 == cv::kNumberInt32 && CV_NUMBER_SINGLE == cv::kNumberSingle &&
              CV_NUMBER_DOUBLE == cv::kNumberDouble && CV_NUMBER_EXTENDED == cv::kNumberExtended &&
              CV_NUMBER_SSE_DOUBLE == cv::kNumberSseDouble &&
              CV_NUMBER_SSE_INT64 == cv::kNumberSseInt64 && CV_NUMBER_INT64 == cv::kNumberInt64 &&
              CV_NUMBER_SSE_INT64_ALT == cv::kNumberSseInt64Alt &&
              CV_SSE_REGISTER_CODE == cv::kSseRegisterCode);
static_assert(CV_NUMBER_SET == cv::kNumberSet && CV_NUMBER_ADD == cv::kNumberAdd &&
              CV_NUMBER_SUBTRACT == cv::kNumberSubtract &&
              CV_NUMBER_MULTIPLY == cv::kNumberMultiply && CV_NUMBER_DIVIDE == cv::kNumberDivide);
static_assert(CV_OPERAND_DESCRIPTOR(CV_NUMBER_DOUBLE, CV_NUMBER_DIVIDE) ==
              cv::OperandDescriptor(cv::kNumberDouble, cv::kNumberDivide));
static_assert(CV_NEGATE_FIRST_OPERAND == cv::kNegateFirstOperand &&
              CV_WIDE_NUMBER_TEXT == cv::kWideNumberText);
static_assert(CV_NUMBER_UNREADABLE == cv::kNumberUnreadable &&
              CV_BINARY_NOTATION == cv::kBinaryNotation && CV_HEX_NOTATION == cv::kHexNotation);

extern "C" {

void CV_CALL cv_IntToDecimal(int32_t value, char* buffer) noexcept {
  cv::IntToDecimal(value, buffer);
}
int32_t CV_CALL cv_CompareWithTolerance(uint32_t k, long double first,
                                        long double second) noexcept {
  return static_cast<int32_t>(cv::CompareWithTolerance(k, first, second));
}

void CV_CALL cv_SetSseRegister(int32_t n, cv_SseRegisterValue value) noexcept {
  cv::SetSseRegister(n, {value.low, value.high});
}
cv_SseRegisterValue CV_CALL cv_SseRegister(int32_t n) noexcept {
  return ToC<cv_SseRegisterValue>(cv::SseRegister(n));
}
void CV_CALL cv_LoadSseLow(int32_t n, const void* source) noexcept { cv::LoadSseLow(n, source); }
void CV_CALL cv_StoreSseLow(int32_t n, void* destination) noexcept {
  cv::StoreSseLow(n, destination);
}

char* CV_CALL cv_NumberToText(cv_text selector, uint32_t descriptor, int32_t count,
                              const cv_word* slots, int32_t slotCount) noexcept {
  return cv::NumberToTextSlots(Text(selector), descriptor, count, slots, slotCount);
}
cv_NumberReading CV_CALL cv_TextToNumber(cv_text source, cv_word destination,
                                         int32_t kind) noexcept {
  return ToC<cv_NumberReading>(cv::TextToNumber(Text(source), destination, kind));
}
char* CV_CALL cv_WriteDecimalDigits(uint64_t value, char* last, char* point) noexcept {
  return cv::WriteDecimalDigits(value, last, point);
}
void CV_CALL cv_BuildPowersOfTen(void) noexcept { cv::BuildPowersOfTen(); }
const long double* CV_CALL cv_PowersOfTen(void) noexcept { return cv::PowersOfTen(); }

}  // extern "C"
