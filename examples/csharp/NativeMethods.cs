// P/Invoke declarations of every Strokecast export for .NET hosts (64-bit process). Text parameters are
// marshalled as UTF-16; a buffer is a char[] of the capacity passed beside it, and a result of 0 means
// nothing was written. scripts/check_bindings.py keeps this file in step with strokecast_exports.h.
using System;
using System.Runtime.InteropServices;

namespace Strokecast
{
    [DefaultDllImportSearchPaths(DllImportSearchPath.ApplicationDirectory)]
    public static class NativeMethods
    {
        public const string Library = "strokecast.dll";
        public const uint HeaderVersion = (1u << 16) | (0u << 8) | 0u;

        [DllImport(Library, EntryPoint = "OpenGestureManager", CharSet = CharSet.Unicode,
                   CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
        public static extern void OpenGestureManager(string defaultGestureFile, string userFolder);

        [DllImport(Library, EntryPoint = "CloseGestureManager", CharSet = CharSet.Unicode,
                   CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
        public static extern void CloseGestureManager();

        [DllImport(Library, EntryPoint = "recognizeGesture", CharSet = CharSet.Unicode,
                   CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
        public static extern int recognizeGesture(ushort[] points, char[] nameBuffer, uint nameCapacity);

        [DllImport(Library, EntryPoint = "GetAllGestures", CharSet = CharSet.Unicode,
                   CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
        public static extern int GetAllGestures(char[] buffer, uint capacity);

        [DllImport(Library, EntryPoint = "GetGestureTrack", CharSet = CharSet.Unicode,
                   CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
        public static extern int GetGestureTrack(string name, ushort[] buffer, uint capacity);

        [DllImport(Library, EntryPoint = "AddOneGesture", CharSet = CharSet.Unicode,
                   CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
        public static extern int AddOneGesture(string name, ushort[] points);

        [DllImport(Library, EntryPoint = "CheckNameExist", CharSet = CharSet.Unicode,
                   CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
        public static extern int CheckNameExist(string name);

        [DllImport(Library, EntryPoint = "RemoveOneGesture", CharSet = CharSet.Unicode,
                   CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
        public static extern int RemoveOneGesture(string name);

        [DllImport(Library, EntryPoint = "OpenActionManager", CharSet = CharSet.Unicode,
                   CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
        public static extern void OpenActionManager(string folder);

        [DllImport(Library, EntryPoint = "CloseActionNanager", CharSet = CharSet.Unicode,
                   CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
        public static extern void CloseActionNanager();

        [DllImport(Library, EntryPoint = "SetGestureSwitch", CharSet = CharSet.Unicode,
                   CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
        public static extern int SetGestureSwitch(string gesture, int value);

        [DllImport(Library, EntryPoint = "GetGestureSwitch", CharSet = CharSet.Unicode,
                   CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
        public static extern int GetGestureSwitch(string gesture);

        [DllImport(Library, EntryPoint = "GetActionOfGesture", CharSet = CharSet.Unicode,
                   CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
        public static extern int GetActionOfGesture(string gesture, char[] buffer, uint capacity);

        [DllImport(Library, EntryPoint = "ExecuteAction", CharSet = CharSet.Unicode,
                   CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
        public static extern int ExecuteAction(string gesture);

        [DllImport(Library, EntryPoint = "SetGestureToAction", CharSet = CharSet.Unicode,
                   CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
        public static extern int SetGestureToAction(string gesture, string action);

        [DllImport(Library, EntryPoint = "AddCustomAction", CharSet = CharSet.Unicode,
                   CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
        public static extern int AddCustomAction(string key, string value);

        [DllImport(Library, EntryPoint = "RemoveOneCustomAction", CharSet = CharSet.Unicode,
                   CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
        public static extern int RemoveOneCustomAction(string key);

        [DllImport(Library, EntryPoint = "GetMetroKeyArrary", CharSet = CharSet.Unicode,
                   CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
        public static extern uint GetMetroKeyArrary(char[] buffer, uint capacity);

        [DllImport(Library, EntryPoint = "GetMetroAppInfo", CharSet = CharSet.Unicode,
                   CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
        public static extern uint GetMetroAppInfo(uint key, char[] buffer, uint capacity);

        [DllImport(Library, EntryPoint = "GetMetroIcon", CharSet = CharSet.Unicode,
                   CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
        public static extern IntPtr GetMetroIcon(string logoPath, uint background);

        [DllImport(Library, EntryPoint = "GetFileLargeIcon", CharSet = CharSet.Unicode,
                   CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
        public static extern IntPtr GetFileLargeIcon(string path);

        [DllImport(Library, EntryPoint = "OpenTouchCapturer", CharSet = CharSet.Unicode,
                   CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
        public static extern void OpenTouchCapturer();

        [DllImport(Library, EntryPoint = "CloseTouchCapturer", CharSet = CharSet.Unicode,
                   CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
        public static extern void CloseTouchCapturer();

        [DllImport(Library, EntryPoint = "SetCharmBarCptEnable", CharSet = CharSet.Unicode,
                   CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
        public static extern void SetCharmBarCptEnable(int enable);

        [DllImport(Library, EntryPoint = "SetHotKey", CharSet = CharSet.Unicode,
                   CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
        public static extern void SetHotKey(int enable, uint key);

        [DllImport(Library, EntryPoint = "GetFnvHash", CharSet = CharSet.Unicode,
                   CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
        public static extern uint GetFnvHash(string text);

        [DllImport(Library, EntryPoint = "StrokecastVersion", CharSet = CharSet.Unicode,
                   CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
        public static extern uint StrokecastVersion();

        [UnmanagedFunctionPointer(CallingConvention.StdCall, CharSet = CharSet.Unicode)]
        public delegate void LogSink(string line, IntPtr context);

        [UnmanagedFunctionPointer(CallingConvention.StdCall, CharSet = CharSet.Unicode)]
        public delegate void StrokeSink(IntPtr points, string name, double score, int actionStatus, IntPtr context);

        [DllImport(Library, EntryPoint = "StrokecastRankGestures", CharSet = CharSet.Unicode,
                   CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
        public static extern int StrokecastRankGestures(ushort[] points, uint maxNames, char[] buffer, uint capacity);

        [DllImport(Library, EntryPoint = "StrokecastCheckSimilarity", CharSet = CharSet.Unicode,
                   CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
        public static extern int StrokecastCheckSimilarity(string name, ushort[] points, char[] buffer, uint capacity);

        [DllImport(Library, EntryPoint = "StrokecastExecuteActionEx", CharSet = CharSet.Unicode,
                   CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
        public static extern int StrokecastExecuteActionEx(string gesture);

        [DllImport(Library, EntryPoint = "StrokecastListActions", CharSet = CharSet.Unicode,
                   CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
        public static extern int StrokecastListActions(char[] buffer, uint capacity);

        [DllImport(Library, EntryPoint = "StrokecastLastError", CharSet = CharSet.Unicode,
                   CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
        public static extern int StrokecastLastError(char[] buffer, uint capacity);

        [DllImport(Library, EntryPoint = "StrokecastSetLogSink", CharSet = CharSet.Unicode,
                   CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
        public static extern void StrokecastSetLogSink(LogSink sink, IntPtr context);

        [DllImport(Library, EntryPoint = "StrokecastSetStrokeSink", CharSet = CharSet.Unicode,
                   CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
        public static extern void StrokecastSetStrokeSink(StrokeSink sink, IntPtr context);

        [DllImport(Library, EntryPoint = "StrokecastSetCaptureMode", CharSet = CharSet.Unicode,
                   CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
        public static extern int StrokecastSetCaptureMode(int mode);

        [DllImport(Library, EntryPoint = "StrokecastSetActionGuard", CharSet = CharSet.Unicode,
                   CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
        public static extern int StrokecastSetActionGuard(string action, double minScore);

        [DllImport(Library, EntryPoint = "StrokecastExportSettings", CharSet = CharSet.Unicode,
                   CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
        public static extern int StrokecastExportSettings(string path);

        [DllImport(Library, EntryPoint = "StrokecastImportSettings", CharSet = CharSet.Unicode,
                   CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
        public static extern int StrokecastImportSettings(string path);

        [DllImport(Library, EntryPoint = "StrokecastSetHotKeyEx", CharSet = CharSet.Unicode,
                   CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
        public static extern int StrokecastSetHotKeyEx(uint modifiers, uint key);
    }
}
