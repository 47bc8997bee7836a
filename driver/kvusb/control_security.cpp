// The control device's DACL, built by hand: Windows 2000 has no security
// descriptor language in the kernel. Paged: runs in AddDevice.
#include "control_security.h"

extern "C" {
// ntifs.h's, which does not mix with wdm.h here.
NTSYSAPI NTSTATUS NTAPI RtlCreateAcl(PACL acl, ULONG length, ULONG revision);
NTSYSAPI NTSTATUS NTAPI RtlAddAccessAllowedAce(PACL acl, ULONG revision, ACCESS_MASK access, PSID sid);
NTKERNELAPI NTSTATUS NTAPI ObOpenObjectByPointer(PVOID object, ULONG attributes, PACCESS_STATE state,
                                                 ACCESS_MASK access, POBJECT_TYPE type, KPROCESSOR_MODE mode,
                                                 PHANDLE handle);
}

namespace {

// A SID of the NT authority (S-1-5-...) with up to two sub-authorities.
struct NtAuthoritySid {
    UCHAR Revision;
    UCHAR SubAuthorityCount;
    UCHAR Authority[6];
    ULONG SubAuthority[2];
};

constexpr ULONG kLocalSystemRid = 18;      // S-1-5-18
constexpr ULONG kInteractiveRid = 4;       // S-1-5-4
constexpr ULONG kBuiltinDomainRid = 32;    // S-1-5-32-544
constexpr ULONG kAdministratorsRid = 544;

const NtAuthoritySid kSystem = {1, 1, {0, 0, 0, 0, 0, 5}, {kLocalSystemRid, 0}};
const NtAuthoritySid kAdministrators = {1, 2, {0, 0, 0, 0, 0, 5}, {kBuiltinDomainRid, kAdministratorsRid}};
const NtAuthoritySid kInteractive = {1, 1, {0, 0, 0, 0, 0, 5}, {kInteractiveRid, 0}};

struct Grant {
    const NtAuthoritySid* sid;
    ACCESS_MASK access;
};
const Grant kGrants[] = {
    {&kSystem, FILE_ALL_ACCESS},
    {&kAdministrators, FILE_ALL_ACCESS},
    {&kInteractive, FILE_GENERIC_READ | FILE_GENERIC_WRITE},
};

// An access-allowed ACE is its header and mask (8 bytes), then the SID.
constexpr ULONG kAceFixedBytes = 8;
constexpr ULONG kAclBytes = sizeof(ACL) + 3 * (kAceFixedBytes + sizeof(NtAuthoritySid));

// A security descriptor in absolute form (ntifs.h's SECURITY_DESCRIPTOR).
struct AbsoluteDescriptor {
    UCHAR Revision;
    UCHAR Sbz1;
    USHORT Control;
    PVOID Owner;
    PVOID Group;
    PACL Sacl;
    PACL Dacl;
};

typedef NTSTATUS(NTAPI* SetSecurityObject)(HANDLE, SECURITY_INFORMATION, PSECURITY_DESCRIPTOR);

// Looked up, as not every system exports the Zw form; AddDevice runs in a
// system thread, where the Nt form acts alike.
KV_PAGED SetSecurityObject FindSetSecurityObject() {
    wchar_t zwName[] = L"ZwSetSecurityObject";
    wchar_t ntName[] = L"NtSetSecurityObject";
    wchar_t* const names[] = {zwName, ntName};
    for (wchar_t* text : names) {
        UNICODE_STRING name;
        RtlInitUnicodeString(&name, text);
        if (PVOID routine = MmGetSystemRoutineAddress(&name)) return reinterpret_cast<SetSecurityObject>(routine);
    }
    return nullptr;
}

KV_PAGED NTSTATUS BuildDescriptor(PACL dacl, AbsoluteDescriptor* descriptor) {
    NTSTATUS status = RtlCreateAcl(dacl, kAclBytes, ACL_REVISION);
    for (const Grant& grant : kGrants) {
        if (NT_SUCCESS(status)) {
            status = RtlAddAccessAllowedAce(dacl, ACL_REVISION, grant.access,
                                            const_cast<NtAuthoritySid*>(grant.sid));
        }
    }
    if (NT_SUCCESS(status)) status = RtlCreateSecurityDescriptor(descriptor, SECURITY_DESCRIPTOR_REVISION);
    if (NT_SUCCESS(status)) status = RtlSetDaclSecurityDescriptor(descriptor, TRUE, dacl, FALSE);
    return status;
}

}  // namespace

KV_PAGED NTSTATUS RestrictControlDevice(PDEVICE_OBJECT control) {
    union {
        ACL acl;
        ULONG aligned[kAclBytes / sizeof(ULONG) + 1];
    } dacl;
    AbsoluteDescriptor descriptor;
    NTSTATUS status = BuildDescriptor(&dacl.acl, &descriptor);
    const SetSecurityObject setSecurity = FindSetSecurityObject();
    if (NT_SUCCESS(status) && !setSecurity) status = STATUS_NOT_SUPPORTED;
    HANDLE handle = nullptr;
    if (NT_SUCCESS(status)) {
        status = ObOpenObjectByPointer(control, OBJ_KERNEL_HANDLE, nullptr, WRITE_DAC, nullptr, KernelMode, &handle);
    }
    if (NT_SUCCESS(status)) {
        status = setSecurity(handle, DACL_SECURITY_INFORMATION, &descriptor);
        ZwClose(handle);
    }
    return status;
}
