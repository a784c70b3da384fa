"""Checks the shipped Retazo.exe as a file: its headers, its sections, its imports and its
resources."""
import os
import re
import struct
import subprocess
import unittest
import xml.etree.ElementTree as ElementTree

# The common controls are loaded by name at start, once the DLL search is safe: as an import they
# would load uxtheme before the program's first instruction, from the program's folder first.
ALLOWED_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "oleaut32.dll", "ole32.dll", "shell32.dll",
    "msvcrt.dll",
}
# Every function the product imports, by library: a new one is a deliberate change, made together
# with the README's account of what Windows the product needs.
IMPORTS = {
    "gdi32.dll": (
        "BitBlt CombineRgn CreateCompatibleBitmap CreateCompatibleDC CreateFontIndirectW "
        "CreateHatchBrush CreatePen CreateRectRgn CreateSolidBrush DeleteDC DeleteObject "
        "GetCurrentObject GetDeviceCaps GetDIBits GetObjectW GetStockObject GetTextMetricsW "
        "RoundRect SelectObject SetBkColor SetBkMode SetRectRgn SetTextAlign SetTextColor"),
    "kernel32.dll": (
        "AddVectoredExceptionHandler CloseHandle CompareStringOrdinal CreateEventA CreateFileW "
        "CreateSemaphoreA DeleteCriticalSection DuplicateHandle EnterCriticalSection ExitProcess "
        "FindClose FindResourceW FlushFileBuffers FreeLibrary GetCommandLineW GetCurrentProcess "
        "GetCurrentProcessId GetCurrentThread GetCurrentThreadId GetFileAttributesW "
        "GetFullPathNameW GetHandleInformation GetLastError GetModuleHandleA GetModuleHandleW "
        "GetProcAddress GetProcessAffinityMask GetProcessHeap GetStartupInfoA "
        "GetSystemDirectoryW GetSystemTimeAsFileTime GetThreadContext GetThreadPriority "
        "GetTickCount64 GetVersionExA GlobalAddAtomW GlobalAlloc GlobalDeleteAtom GlobalFree "
        "GlobalLock GlobalUnlock HeapAlloc HeapFree InitializeCriticalSection IsDebuggerPresent "
        "LeaveCriticalSection LoadLibraryA LoadLibraryExW LoadLibraryW MultiByteToWideChar "
        "OpenProcess OutputDebugStringA RaiseException ReadFile ReleaseSemaphore "
        "RemoveVectoredExceptionHandler ResetEvent ResumeThread SetDllDirectoryW SetEndOfFile "
        "SetEvent SetFileInformationByHandle SetFilePointer SetLastError SetProcessAffinityMask "
        "SetThreadContext SetThreadPriority SetUnhandledExceptionFilter Sleep SuspendThread "
        "TlsAlloc TlsFree TlsGetValue TlsSetValue TryEnterCriticalSection VirtualProtect "
        "VirtualQuery WaitForMultipleObjects WaitForSingleObject WriteFile"),
    "msvcrt.dll": (
        "__getmainargs __initenv __p__acmdln __p__commode __p__fmode __set_app_type "
        "__setusermatherr _amsg_exit _beginthreadex _cexit _close _endthreadex _errno _initterm "
        "_iob _onexit _read _setjmp3 _strdup _ultoa abort calloc exit fprintf free fwrite "
        "longjmp malloc memchr memcmp memcpy memmove memset printf realloc signal strcmp strlen "
        "strncmp vfprintf wcslen wcsncpy"),
    "ole32.dll": "CoInitializeEx CoUninitialize",
    "oleaut32.dll": "SysAllocStringByteLen SysAllocStringLen SysFreeString",
    "shell32.dll": "ShellExecuteExW",
    "user32.dll": (
        "CallWindowProcW ClientToScreen ClipCursor CloseClipboard CountClipboardFormats "
        "CreateAcceleratorTableW CreateDialogIndirectParamW CreateWindowExW "
        "DestroyAcceleratorTable DestroyIcon DestroyWindow DispatchMessageW EmptyClipboard "
        "EnableWindow FillRect GetClientRect GetCursorPos GetDC GetDesktopWindow GetDlgCtrlID "
        "GetDlgItem GetKeyState GetParent GetSysColor GetSysColorBrush GetWindow GetWindowLongW "
        "GetWindowRect InvalidateRect InvalidateRgn IsDialogMessageW IsIconic IsRectEmpty "
        "IsWindow IsWindowVisible IsZoomed LoadImageW MapDialogRect MessageBoxA MessageBoxW "
        "MsgWaitForMultipleObjectsEx OpenClipboard PeekMessageW ReleaseDC RemovePropW "
        "ScreenToClient SendMessageA SendMessageW SetClipboardData SetCursor SetFocus "
        "SetForegroundWindow SetPropW SetWindowLongW SetWindowPos SetWindowTextW ShowWindow "
        "SystemParametersInfoW TranslateAcceleratorW TranslateMessage UnionRect UpdateWindow "
        "WaitMessage"),
}
MACHINE_I386 = 0x14C
PE32_MAGIC = 0x10B
SUBSYSTEM_WINDOWS_GUI = 2
LARGE_ADDRESS_AWARE = 0x20
# The header flags that Windows and its security checks read (the build says why each is set).
DYNAMIC_BASE, NX_COMPAT, NO_SEH, TERMINAL_SERVER_AWARE = 0x40, 0x100, 0x400, 0x8000
VISTA = (6, 0)
IMPORT_DIRECTORY, RESOURCE_DIRECTORY, DELAY_IMPORT_DIRECTORY = 1, 2, 13
RT_ICON, RT_MENU, RT_DIALOG, RT_STRING = 3, 4, 5, 6
RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 14, 16, 24
FIXED_FILE_INFO_SIGNATURE = 0xFEEF04BD
ASSEMBLY = "{urn:schemas-microsoft-com:asm.v1}"
COMMON_CONTROLS_6 = ("Microsoft.Windows.Common-Controls", "6.0.0.0", "6595b64144ccf1df")
SUPPORTED_OS = {  # the compatibility ids that Windows 7 to 11 look for
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  # 7
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  # 8
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  # 8.1
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  # 10 and 11
}


def version_numbers(text):
    """"1.0.0.1" as the two 32-bit halves of a fixed file version."""
    a, b, c, d = map(int, text.split("."))
    return (a << 16 | b, c << 16 | d)


def version_string(record, key):
    """The value of one StringFileInfo entry: a UTF-16 key, then the value at the next 4-byte
    boundary of the record."""
    name = (key + "\0").encode("utf-16-le")
    end = record.index(name) + len(name)
    start = (end + 3) & ~3
    return record[start:record.index(b"\0\0", start) + 1].decode("utf-16-le").rstrip("\0")


def local_name(element):
    return element.tag.rsplit("}", 1)[-1]


class PortableExecutable:
    """The parts of a PE image these checks read."""

    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise ValueError("no MZ header")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("no PE signature")
        (self.machine, sections, _, _, _, optional_size,
         self.characteristics) = struct.unpack_from("<HHIIIHH", data, pe + 4)
        optional = pe + 24
        self.magic = struct.unpack_from("<H", data, optional)[0]
        self.os_version = struct.unpack_from("<HH", data, optional + 40)
        self.subsystem_version = struct.unpack_from("<HH", data, optional + 48)
        self.subsystem, self.dll_characteristics = struct.unpack_from("<HH", data, optional + 68)
        directory_count = struct.unpack_from("<I", data, optional + 92)[0]
        self.directories = [struct.unpack_from("<II", data, optional + 96 + 8 * i)
                            for i in range(directory_count)]
        table = optional + optional_size
        self.sections = [struct.unpack_from("<IIII", data, table + 40 * i + 8)
                         for i in range(sections)]

    def offset(self, rva):
        for virtual_size, address, raw_size, raw_offset in self.sections:
            if address <= rva < address + max(virtual_size, raw_size):
                return raw_offset + rva - address
        raise ValueError("address %#x lies in no section" % rva)

    def directory(self, index):
        return self.directories[index] if index < len(self.directories) else (0, 0)

    def zero_terminated(self, rva):
        start = self.offset(rva)
        return self.data[start:self.data.index(b"\0", start)].decode("ascii")

    def imported_dlls(self):
        rva, size = self.directory(IMPORT_DIRECTORY)
        names = []
        if size == 0:
            return names
        entry = self.offset(rva)
        while True:
            descriptor = struct.unpack_from("<IIIII", self.data, entry)
            if not any(descriptor):
                return names
            names.append(self.zero_terminated(descriptor[3]))
            entry += 20

    def imported_functions(self):
        """{DLL name in lower case: the names of the functions imported from it}."""
        rva, size = self.directory(IMPORT_DIRECTORY)
        found = {}
        entry = self.offset(rva) if size else None
        while entry is not None and any(struct.unpack_from("<5I", self.data, entry)):
            lookup, _, _, name, addresses = struct.unpack_from("<5I", self.data, entry)
            functions = found.setdefault(self.zero_terminated(name).lower(), set())
            at = self.offset(lookup or addresses)
            while thunk := struct.unpack_from("<I", self.data, at)[0]:
                # By ordinal (top bit) or by a hint-and-name record: a 2-byte hint, then the name.
                functions.add("#%d" % (thunk & 0xFFFF) if thunk & 0x80000000 else self.zero_terminated(thunk + 2))
                at += 4
            entry += 20
        return found

    def resources(self):
        """{(type, name): data} for the first language of every resource; ids are ints."""
        rva, size = self.directory(RESOURCE_DIRECTORY)
        found = {}
        if size == 0:
            return found
        base = self.offset(rva)

        def entries(directory):
            named, numbered = struct.unpack_from("<HH", self.data, base + directory + 12)
            for i in range(named + numbered):
                name, target = struct.unpack_from("<II", self.data, base + directory + 16 + 8 * i)
                if name & 0x80000000:
                    at = base + (name & 0x7FFFFFFF)
                    length = struct.unpack_from("<H", self.data, at)[0]
                    name = self.data[at + 2:at + 2 + 2 * length].decode("utf-16-le")
                yield name, target

        for kind, names in entries(0):
            for name, languages in entries(names & 0x7FFFFFFF):
                _, leaf = next(entries(languages & 0x7FFFFFFF))
                data_rva, data_size = struct.unpack_from("<II", self.data, base + leaf)
                start = self.offset(data_rva)
                found[(kind, name)] = self.data[start:start + data_size]
        return found


class ProductFile(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        path = os.environ.get("RETAZO_PRODUCT")
        if not path:
            raise RuntimeError("RETAZO_PRODUCT must name the built Retazo.exe")
        cls.path = path
        with open(path, "rb") as product:
            cls.image = PortableExecutable(product.read())
        cls.resources = cls.image.resources()
        cls.version = os.environ["RETAZO_VERSION"]

    def test_is_a_large_address_aware_32_bit_gui_program(self):
        self.assertEqual(MACHINE_I386, self.image.machine)
        self.assertEqual(PE32_MAGIC, self.image.magic)
        self.assertEqual(SUBSYSTEM_WINDOWS_GUI, self.image.subsystem)
        self.assertTrue(self.image.characteristics & LARGE_ADDRESS_AWARE)

    def test_header_asks_for_what_windows_checks(self):
        for name, flag in (("ASLR", DYNAMIC_BASE), ("DEP", NX_COMPAT), ("no SEH handlers", NO_SEH),
                           ("Terminal Server aware", TERMINAL_SERVER_AWARE)):
            self.assertTrue(self.image.dll_characteristics & flag,
                            "%s: DllCharacteristics %#x" % (name, self.image.dll_characteristics))
        self.assertEqual(VISTA, self.image.os_version, "OS version")
        self.assertEqual(VISTA, self.image.subsystem_version, "subsystem version")

    def test_imports_only_system_libraries(self):
        dlls = {name.lower() for name in self.image.imported_dlls()}
        self.assertIn("kernel32.dll", dlls)
        self.assertLessEqual(dlls, ALLOWED_DLLS, "unexpected: %s" % sorted(dlls - ALLOWED_DLLS))
        self.assertEqual(0, self.image.directory(DELAY_IMPORT_DIRECTORY)[1])

    def test_imports_exactly_the_functions_pinned_here(self):
        found = self.image.imported_functions()
        self.assertEqual(sorted(IMPORTS), sorted(found))
        for dll, names in IMPORTS.items():
            self.assertSetEqual(set(names.split()), found[dll], dll)

    def test_icon_group_300_names_icons_that_exist(self):
        group = self.resources.get((RT_GROUP_ICON, 300))
        self.assertIsNotNone(group, "no icon group 300")
        reserved, kind, count = struct.unpack_from("<HHH", group, 0)
        self.assertEqual((0, 1), (reserved, kind))
        self.assertGreater(count, 0)
        for i in range(count):
            icon_id = struct.unpack_from("<H", group, 6 + 14 * i + 12)[0]
            self.assertIn((RT_ICON, icon_id), self.resources)

    def test_version_record_carries_the_project_version(self):
        versions = [data for (kind, _), data in self.resources.items() if kind == RT_VERSION]
        self.assertEqual(1, len(versions))
        record = versions[0]
        signature = struct.pack("<I", FIXED_FILE_INFO_SIGNATURE)
        self.assertIn(signature, record)
        fixed = record.index(signature)
        file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<IIII", record, fixed + 8)
        self.assertEqual(version_numbers(self.version), (file_ms, file_ls), "fixed file version")
        self.assertEqual(version_numbers(self.version), (product_ms, product_ls), "fixed product version")
        for key in ("FileVersion", "ProductVersion"):
            self.assertEqual(self.version, version_string(record, key), key)

    def test_manifest_asks_for_what_the_program_needs(self):
        manifests = [data for (kind, _), data in self.resources.items() if kind == RT_MANIFEST]
        self.assertEqual(1, len(manifests))
        root = ElementTree.fromstring(manifests[0])

        def elements(name):
            return [element for element in root.iter() if local_name(element) == name]

        self.assertEqual(self.version, root.find(ASSEMBLY + "assemblyIdentity").get("version"))
        self.assertEqual(["true"], [element.text.strip().lower() for element in elements("dpiAware")])
        self.assertEqual(["asInvoker"], [element.get("level")
                                         for element in elements("requestedExecutionLevel")])
        self.assertEqual([COMMON_CONTROLS_6], [
            (identity.get("name"), identity.get("version"), identity.get("publicKeyToken"))
            for dependency in elements("dependentAssembly")
            for identity in dependency if local_name(identity) == "assemblyIdentity"])
        self.assertEqual(SUPPORTED_OS, {element.get("Id").lower() for element in elements("supportedOS")})

    def test_carries_no_debug_section_and_no_symbol_table(self):
        # objdump reads the long section names (".debug_info") from the COFF string table.
        listing = subprocess.run(["i686-w64-mingw32-objdump", "-f", "-h", self.path],
                                 capture_output=True, text=True, check=True).stdout
        self.assertEqual([], re.findall(r"^ *\d+ (\.debug\S*)", listing, re.M))
        flags = re.search(r"flags 0x[0-9a-f]+:\n(.*)", listing).group(1)
        self.assertNotIn("HAS_SYMS", flags.split(", "), "file header flags")

    def test_has_no_dialog_menu_or_string_resources(self):
        kinds = {kind for kind, _ in self.resources}
        self.assertFalse(kinds & {RT_MENU, RT_DIALOG, RT_STRING},
                         "resource types %s" % sorted(kinds, key=str))


if __name__ == "__main__":
    unittest.main()
