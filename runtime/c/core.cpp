// The C interface of the runtime core.
#include "runtime/c/c_interface.h"

namespace cv = corvala;
using cv::c_interface::AsC;
using cv::c_interface::ToC;

CV_SAME_FIELD(cv_TextRecord, cv::TextRecord, text);
CV_SAME_FIELD(cv_TextRecord, cv::TextRecord, length);
CV_SAME_FIELD(cv_CommonDataBlockView, cv::CommonDataBlockView, tag);
CV_SAME_FIELD(cv_CommonDataBlockView, cv::CommonDataBlockView, entries);
CV_SAME_FIELD(cv_CommonDataBlockView, cv::CommonDataBlockView, dateFormat);
CV_SAME_FIELD(cv_CommonDataBlockView, cv::CommonDataBlockView, timeFormat);
CV_SAME_FIELD(cv_VersionInfo, cv::VersionInfo, text);
CV_SAME_FIELD(cv_VersionInfo, cv::VersionInfo, number);
CV_SAME_FIELD(cv_CommittedText, cv::CommittedText, text);
CV_SAME_FIELD(cv_CommittedText, cv::CommittedText, slot);
CV_SAME_FIELD(cv_ElementRecord, cv::ElementRecord, text);
CV_SAME_FIELD(cv_ElementRecord, cv::ElementRecord, length);
CV_SAME_FIELD(cv_ArrayDescriptor, cv::ArrayDescriptor, count);
CV_SAME_FIELD(cv_ArrayDescriptor, cv::ArrayDescriptor, backing);
CV_SAME_FIELD(cv_ArrayDescriptor, cv::ArrayDescriptor, userValue);
CV_SAME_FIELD(cv_ArrayDescriptor, cv::ArrayDescriptor, shape);

static_assert(CV_SLOT_CURRENT == cv::kSlotCurrent && CV_SLOT_BACK == cv::kSlotBack &&
              CV_SLOT_ADVANCE == cv::kSlotAdvance);
static_assert(CV_HEAP_STRINGS == cv::kCvHeapStrings && CV_HEAP_ZERO_MEMORY == cv::kHeapZeroMemory &&
              CV_RELEASE_ALL_TRACKED == cv::kReleaseAllTracked);
static_assert(CV_ERROR_LAST_ERROR == cv::kErrorLastError &&
              CV_ERROR_HEAP_SIZE == cv::kErrorHeapSize &&
              CV_ERROR_RECALL_OPEN == cv::kErrorRecallOpen &&
              CV_ERROR_COUNT_TOO_HIGH == cv::kErrorCountTooHigh);
static_assert(CV_ARRAY_NUMBERS == cv::kArrayNumbers && CV_FILE_NUMBERS == cv::kFileNumbers &&
              CV_ERASED == cv::kErased && CV_TAB_FIELDS == cv::kTabFields &&
              CV_COMMA_FIELDS == cv::kCommaFields && CV_ERASE_ALL_ARRAYS == cv::kEraseAllArrays &&
              CV_CLOSE_ALL_FILES == cv::kCloseAllFiles);

extern "C" {

void CV_CALL cv_RuntimeStartup(void) noexcept { cv::RuntimeStartup(); }
const cv_TextRecord* CV_CALL cv_SharedStringTable(void) noexcept {
  return AsC<const cv_TextRecord>(cv::SharedStringTable());
}
const uint8_t* CV_CALL cv_BitCountTable(void) noexcept { return cv::BitCountTable(); }
const char* CV_CALL cv_ModuleFolder(void) noexcept { return cv::ModuleFolder(); }
cv_CommonDataBlockView CV_CALL cv_CommonData(void) noexcept {
  return ToC<cv_CommonDataBlockView>(cv::CommonData());
}
cv_VersionInfo CV_CALL cv_Version(void) noexcept { return ToC<cv_VersionInfo>(cv::Version()); }

cv_TextRecord* CV_CALL cv_SelectTempSlot(cv_word request) noexcept {
  return AsC<cv_TextRecord>(cv::SelectTempSlot(request));
}
cv_word* CV_CALL cv_SlotOrigin(int32_t slot) noexcept { return &cv::SlotOrigin(slot); }
int32_t CV_CALL cv_TempSlotIndex(void) noexcept { return cv::TempSlotIndex(); }
char* CV_CALL cv_ScratchWritePosition(void) noexcept { return cv::ScratchWritePosition(); }
cv_CommittedText CV_CALL cv_CommitScratchText(char* end, cv_word request) noexcept {
  return ToC<cv_CommittedText>(cv::CommitScratchText(end, request));
}
char* CV_CALL cv_KeepTempSlotCopy(void) noexcept { return cv::KeepTempSlotCopy(); }

void* CV_CALL cv_CountedAlloc(size_t size, uint32_t flags) noexcept {
  return cv::CountedAlloc(size, flags);
}
void CV_CALL cv_CountedFree(void* block) noexcept { cv::CountedFree(block); }
void* CV_CALL cv_TrackBlock(void* block) noexcept { return cv::TrackBlock(block); }
void* CV_CALL cv_AllocTracked(size_t size, uint32_t flags) noexcept {
  return cv::AllocTracked(size, flags);
}
void CV_CALL cv_ReleaseTrackedBlock(cv_word block) noexcept { cv::ReleaseTrackedBlock(block); }
const cv_word* CV_CALL cv_TrackedBlockTable(void) noexcept { return cv::TrackedBlockTable(); }

void CV_CALL cv_FatalError(uint32_t code, cv_word detail) noexcept { cv::FatalError(code, detail); }
void CV_CALL cv_FatalErrorLine(uint32_t code) noexcept { cv::FatalErrorLine(code); }
void CV_CALL cv_FatalErrorValue(uint32_t code, int32_t value) noexcept {
  cv::FatalErrorValue(code, value);
}
void CV_CALL cv_FatalLastError(void) noexcept { cv::FatalLastError(); }
void CV_CALL cv_ReportApiFailure(cv_word result) noexcept { cv::ReportApiFailure(result); }

int32_t* CV_CALL cv_AllocationCount(void) noexcept { return &cv::AllocationCount; }
int32_t* CV_CALL cv_ReleaseCount(void) noexcept { return &cv::ReleaseCount; }
int32_t* CV_CALL cv_ReportValue(void) noexcept { return &cv::ReportValue; }
int32_t* CV_CALL cv_DebugMarker(void) noexcept { return &cv::DebugMarker; }
int32_t* CV_CALL cv_ApiBoxesOff(void) noexcept { return &cv::ApiBoxesOff; }

cv_word* CV_CALL cv_ArrayTable(void) noexcept { return cv::ArrayTable(); }
cv_word* CV_CALL cv_FileTable(void) noexcept { return cv::FileTable(); }
const char* CV_CALL cv_EmptyText(void) noexcept { return cv::EmptyText; }
void CV_CALL cv_EraseArray(int32_t arrayNumber) noexcept { cv::EraseArray(arrayNumber); }
void CV_CALL cv_CloseFile(int32_t fileNumber) noexcept { cv::CloseFile(fileNumber); }

}  // extern "C"
