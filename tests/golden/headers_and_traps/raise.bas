Option Explicit

Private Declare Function GetTickCount Lib "kernel32" () As Long

Public Function Continued(ByVal a As Long, _
                          ByVal b As Long) As Long
'---------------------------------------------------------------
' Shapes.Continued (Function )
' Description of its utility
' Author: My name    Created: Sunday 06 December 2026
'---------------------------------------------------------------
    On Error GoTo Fail
        Continued = a + b
    Exit Function
Fail:
    Err.Raise Err.Number, "Shapes.Continued", Err.Description
End Function

Private Sub WithLocals()
'---------------------------------------------------------------
' Shapes.WithLocals (Sub )
' Description of its utility
' Author: My name    Created: Sunday 06 December 2026
'---------------------------------------------------------------
    Dim i As Long
    Static calls As Long, _
           last As Long
    On Error GoTo Fail
        calls = calls + 1
    Exit Sub
Fail:
    Err.Raise Err.Number, "Shapes.WithLocals", Err.Description
End Sub

Sub WithLabels()
'---------------------------------------------------------------
' Shapes.WithLabels (Sub )
' Description of its utility
' Author: My name    Created: Sunday 06 December 2026
'---------------------------------------------------------------
    On Error GoTo Fail
Retry:
        If Tries() < 3 Then GoTo Retry
10  Debug.Print "done"
    Exit Sub
Fail:
    Err.Raise Err.Number, "Shapes.WithLabels", Err.Description
End Sub

Function NestedExit(ByVal n As Long) As Long
'---------------------------------------------------------------
' Shapes.NestedExit (Function )
' Description of its utility
' Author: My name    Created: Sunday 06 December 2026
'---------------------------------------------------------------
    On Error GoTo Fail
        If n = 0 Then Exit Function
        NestedExit = 1 / n
    Exit Function
Fail:
    Err.Raise Err.Number, "Shapes.NestedExit", Err.Description
End Function

Sub OneLine(): Debug.Print "x": End Sub

Sub WithIf()
'---------------------------------------------------------------
' Shapes.WithIf (Sub )
' Description of its utility
' Author: My name    Created: Sunday 06 December 2026
'---------------------------------------------------------------
    On Error GoTo Fail
#If DEBUG_BUILD Then
        Debug.Print "debug"
#End If
    Exit Sub
Fail:
    Err.Raise Err.Number, "Shapes.WithIf", Err.Description
End Sub

#If VBA7 Then
Public Function Message(ByVal hWnd As LongPtr) As Long
#Else
Public Function Message(ByVal hWnd As Long) As Long
#End If
'---------------------------------------------------------------
' Shapes.Message (Function )
' Description of its utility
' Author: My name    Created: Sunday 06 December 2026
'---------------------------------------------------------------
    On Error GoTo Fail
        Message = 0
    Exit Function
Fail:
    Err.Raise Err.Number, "Shapes.Message", Err.Description
End Function

' Has a header already
Sub HeaderAbove()
    On Error GoTo Fail
        Beep
    Exit Sub
Fail:
    Err.Raise Err.Number, "Shapes.HeaderAbove", Err.Description
End Sub

Sub HeaderBelow()
' Has a header already
    On Error GoTo Fail
        Beep
    Exit Sub
Fail:
    Err.Raise Err.Number, "Shapes.HeaderBelow", Err.Description
End Sub

Sub Trapped()
'---------------------------------------------------------------
' Shapes.Trapped (Sub )
' Description of its utility
' Author: My name    Created: Sunday 06 December 2026
'---------------------------------------------------------------
    On Error Resume Next
    Kill "x"
End Sub

Sub Looping()
'---------------------------------------------------------------
' Shapes.Looping (Sub )
' Description of its utility
' Author: My name    Created: Sunday 06 December 2026
'---------------------------------------------------------------
LoopingNext:
Fail:
    Beep
End Sub

Sub Unfinished()
    Beep
