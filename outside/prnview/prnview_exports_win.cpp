// The ten exports of PRNVIEW32.dll.
#include "prnview.h"

extern "C" {
int32_t PRNVIEW_CALL pvStartDoc(int32_t, const char *, const char *, int32_t, int32_t, int32_t,
                                int32_t, int32_t) {
    return PV_ERR_WINDOW;
}
int32_t PRNVIEW_CALL pvNewPage(int32_t, int32_t, int32_t, int32_t) { return PV_ERR_HANDLE; }
int32_t PRNVIEW_CALL pvEndDoc(int32_t, int32_t) { return PV_ERR_HANDLE; }
int32_t PRNVIEW_CALL pvSetProgress(int32_t, int32_t) { return PV_ERR_HANDLE; }
int32_t PRNVIEW_CALL pvCheckAbort(int32_t) { return PV_ERR_HANDLE; }
int32_t PRNVIEW_CALL pvFont(int32_t, int32_t, int32_t, int32_t, const char *) {
    return PV_ERR_HANDLE;
}
int32_t PRNVIEW_CALL pvText(int32_t, float, float, int32_t, const char *) { return PV_ERR_HANDLE; }
int32_t PRNVIEW_CALL pvSpecialText(int32_t, float, float, int32_t, const char *) {
    return PV_ERR_HANDLE;
}
int32_t PRNVIEW_CALL pvLine(int32_t, float, float, float, float, float, int32_t) {
    return PV_ERR_HANDLE;
}
int32_t PRNVIEW_CALL pvRect(int32_t, float, float, float, float, float, int32_t, int32_t) {
    return PV_ERR_HANDLE;
}
}
