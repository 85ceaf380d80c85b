// P/Invoke declarations of every Strokecast export for .NET hosts (64-bit process). Text parameters are
// marshalled as UTF-16; a buffer is a char[] of the capacity passed beside it, and a result of 0 means
// nothing was written. scripts/check_bindings.py keeps this file in step with strokecast_exports.h.
using System;
using System.Runtime.InteropServices;

// The library is looked for beside the application only. The attribute belongs to the assembly (or to a
// single method), so it covers the assembly this file is built into.
[assembly: DefaultDllImportSearchPaths(DllImportSearchPath.ApplicationDirectory)]

namespace Strokecast
{
    public static class NativeMethods
    {
        public const string Library = "strokecast.dll";
        public const uint HeaderVersion = (1u << 16) | (0u << 8) | 0u;

        // Every export takes UTF-16 text, uses the Windows calling convention and is found by the method's
        // own name, exactly as spelled.
        private const CharSet Text = CharSet.Unicode;
        private const CallingConvention Api = CallingConvention.StdCall;

        [DllImport(Library, CharSet = Text, CallingConvention = Api, ExactSpelling = true)] public static extern void OpenGestureManager(string defaultGestureFile, string userFolder);
        [DllImport(Library, CharSet = Text, CallingConvention = Api, ExactSpelling = true)] public static extern void CloseGestureManager();
        [DllImport(Library, CharSet = Text, CallingConvention = Api, ExactSpelling = true)] public static extern int recognizeGesture(ushort[] points, char[] nameBuffer, uint nameCapacity);
        [DllImport(Library, CharSet = Text, CallingConvention = Api, ExactSpelling = true)] public static extern int GetAllGestures(char[] buffer, uint capacity);
        [DllImport(Library, CharSet = Text, CallingConvention = Api, ExactSpelling = true)] public static extern int GetGestureTrack(string name, ushort[] buffer, uint capacity);
        [DllImport(Library, CharSet = Text, CallingConvention = Api, ExactSpelling = true)] public static extern int AddOneGesture(string name, ushort[] points);
        [DllImport(Library, CharSet = Text, CallingConvention = Api, ExactSpelling = true)] public static extern int CheckNameExist(string name);
        [DllImport(Library, CharSet = Text, CallingConvention = Api, ExactSpelling = true)] public static extern int RemoveOneGesture(string name);
        [DllImport(Library, CharSet = Text, CallingConvention = Api, ExactSpelling = true)] public static extern void OpenActionManager(string folder);
        [DllImport(Library, CharSet = Text, CallingConvention = Api, ExactSpelling = true)] public static extern void CloseActionNanager();
        [DllImport(Library, CharSet = Text, CallingConvention = Api, ExactSpelling = true)] public static extern int SetGestureSwitch(string gesture, int value);
        [DllImport(Library, CharSet = Text, CallingConvention = Api, ExactSpelling = true)] public static extern int GetGestureSwitch(string gesture);
        [DllImport(Library, CharSet = Text, CallingConvention = Api, ExactSpelling = true)] public static extern int GetActionOfGesture(string gesture, char[] buffer, uint capacity);
        [DllImport(Library, CharSet = Text, CallingConvention = Api, ExactSpelling = true)] public static extern int ExecuteAction(string gesture);
        [DllImport(Library, CharSet = Text, CallingConvention = Api, ExactSpelling = true)] public static extern int SetGestureToAction(string gesture, string action);
        [DllImport(Library, CharSet = Text, CallingConvention = Api, ExactSpelling = true)] public static extern int AddCustomAction(string key, string value);
        [DllImport(Library, CharSet = Text, CallingConvention = Api, ExactSpelling = true)] public static extern int RemoveOneCustomAction(string key);
        [DllImport(Library, CharSet = Text, CallingConvention = Api, ExactSpelling = true)] public static extern uint GetMetroKeyArrary(char[] buffer, uint capacity);
        [DllImport(Library, CharSet = Text, CallingConvention = Api, ExactSpelling = true)] public static extern uint GetMetroAppInfo(uint key, char[] buffer, uint capacity);
        [DllImport(Library, CharSet = Text, CallingConvention = Api, ExactSpelling = true)] public static extern IntPtr GetMetroIcon(string logoPath, uint background);
        [DllImport(Library, CharSet = Text, CallingConvention = Api, ExactSpelling = true)] public static extern IntPtr GetFileLargeIcon(string path);
        [DllImport(Library, CharSet = Text, CallingConvention = Api, ExactSpelling = true)] public static extern void OpenTouchCapturer();
        [DllImport(Library, CharSet = Text, CallingConvention = Api, ExactSpelling = true)] public static extern void CloseTouchCapturer();
        [DllImport(Library, CharSet = Text, CallingConvention = Api, ExactSpelling = true)] public static extern void SetCharmBarCptEnable(int enable);
        [DllImport(Library, CharSet = Text, CallingConvention = Api, ExactSpelling = true)] public static extern void SetHotKey(int enable, uint key);
        [DllImport(Library, CharSet = Text, CallingConvention = Api, ExactSpelling = true)] public static extern uint GetFnvHash(string text);
        [DllImport(Library, CharSet = Text, CallingConvention = Api, ExactSpelling = true)] public static extern uint StrokecastVersion();

        [UnmanagedFunctionPointer(Api, CharSet = Text)]
        public delegate void LogSink(string line, IntPtr context);

        [UnmanagedFunctionPointer(Api, CharSet = Text)]
        public delegate void StrokeSink(IntPtr points, string name, double score, int actionStatus, IntPtr context);

        [DllImport(Library, CharSet = Text, CallingConvention = Api, ExactSpelling = true)] public static extern int StrokecastRankGestures(ushort[] points, uint maxNames, char[] buffer, uint capacity);
        [DllImport(Library, CharSet = Text, CallingConvention = Api, ExactSpelling = true)] public static extern int StrokecastCheckSimilarity(string name, ushort[] points, char[] buffer, uint capacity);
        [DllImport(Library, CharSet = Text, CallingConvention = Api, ExactSpelling = true)] public static extern int StrokecastExecuteActionEx(string gesture);
        [DllImport(Library, CharSet = Text, CallingConvention = Api, ExactSpelling = true)] public static extern int StrokecastListActions(char[] buffer, uint capacity);
        [DllImport(Library, CharSet = Text, CallingConvention = Api, ExactSpelling = true)] public static extern int StrokecastLastError(char[] buffer, uint capacity);
        [DllImport(Library, CharSet = Text, CallingConvention = Api, ExactSpelling = true)] public static extern void StrokecastSetLogSink(LogSink sink, IntPtr context);
        [DllImport(Library, CharSet = Text, CallingConvention = Api, ExactSpelling = true)] public static extern void StrokecastSetStrokeSink(StrokeSink sink, IntPtr context);
        [DllImport(Library, CharSet = Text, CallingConvention = Api, ExactSpelling = true)] public static extern int StrokecastSetCaptureMode(int mode);
        [DllImport(Library, CharSet = Text, CallingConvention = Api, ExactSpelling = true)] public static extern int StrokecastSetActionGuard(string action, double minScore);
        [DllImport(Library, CharSet = Text, CallingConvention = Api, ExactSpelling = true)] public static extern int StrokecastExportSettings(string path);
        [DllImport(Library, CharSet = Text, CallingConvention = Api, ExactSpelling = true)] public static extern int StrokecastImportSettings(string path);
        [DllImport(Library, CharSet = Text, CallingConvention = Api, ExactSpelling = true)] public static extern int StrokecastSetHotKeyEx(uint modifiers, uint key);
    }
}
