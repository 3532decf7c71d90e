Option Explicit

Private Declare Function GetTickCount Lib "kernel32" () As Long

Public Function Continued(ByVal a As Long, _
                          ByVal b As Long) As Long
    Continued = a + b
End Function

Private Sub WithLocals()
    Dim i As Long
    Static calls As Long, _
           last As Long
    calls = calls + 1
End Sub

Sub WithLabels()
Retry:
    If Tries() < 3 Then GoTo Retry
10  Debug.Print "done"
End Sub

Function NestedExit(ByVal n As Long) As Long
    If n = 0 Then Exit Function
    NestedExit = 1 / n
End Function

Sub OneLine(): Debug.Print "x": End Sub

Sub WithIf()
#If DEBUG_BUILD Then
    Debug.Print "debug"
#End If
End Sub

#If VBA7 Then
Public Function Message(ByVal hWnd As LongPtr) As Long
#Else
Public Function Message(ByVal hWnd As Long) As Long
#End If
    Message = 0
End Function

' Has a header already
Sub HeaderAbove()
    Beep
End Sub

Sub HeaderBelow()
' Has a header already
    Beep
End Sub

Sub Trapped()
    On Error Resume Next
    Kill "x"
End Sub

Sub Looping()
LoopingNext:
Fail:
    Beep
End Sub

Sub Unfinished()
    Beep
