// IoSetCompletionRoutineEx where the system has it. Resident: completions
// are set at up to dispatch level.
#include "unload_safe_completion.h"

namespace {

typedef NTSTATUS(NTAPI* SetCompletionRoutineEx)(PDEVICE_OBJECT, PIRP, PIO_COMPLETION_ROUTINE, PVOID, BOOLEAN, BOOLEAN,
                                                BOOLEAN);
SetCompletionRoutineEx g_SetCompletionRoutineEx;

}  // namespace

void FindUnloadSafeCompletion() {
    wchar_t text[] = L"IoSetCompletionRoutineEx";
    UNICODE_STRING name;
    RtlInitUnicodeString(&name, text);
    g_SetCompletionRoutineEx = reinterpret_cast<SetCompletionRoutineEx>(MmGetSystemRoutineAddress(&name));
}

void SetUnloadSafeCompletion(PDEVICE_OBJECT device, PIRP irp, PIO_COMPLETION_ROUTINE routine, PVOID context) {
    if (g_SetCompletionRoutineEx && NT_SUCCESS(g_SetCompletionRoutineEx(device, irp, routine, context, TRUE, TRUE, TRUE))) {
        return;
    }
    IoSetCompletionRoutine(irp, routine, context, TRUE, TRUE, TRUE);
}
