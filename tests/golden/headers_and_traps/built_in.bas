Option Explicit

Private Declare Function GetTickCount Lib "kernel32" () As Long

Public Function Continued(ByVal a As Long, _
                          ByVal b As Long) As Long
'**********************************************************************
' Utility: Description of its utility
'
' Functions called: 
' Functions calling: 
'
'
' Programmer's name: My name
' Creation date: Sunday 06 December 2026
' Last modification:          by
'**********************************************************************
'-----------------------------------
'Local variables definition 




'-----------------------------------
' Start 
On Error Goto ErrorContinued



    Continued = a + b
'-----------------------------------
'- End and exit
ContinuedNext:
Exit Function


'-----------------------------------
'Error local traitment
ErrorContinued:
Msgbox Err.Description, , "Continued"
       '-Resume
Resume ContinuedNext
'-----------------------------------
'End
End Function

Private Sub WithLocals()
'**********************************************************************
' Utility: Description of its utility
'
' Functions called: 
' Functions calling: 
'
'
' Programmer's name: My name
' Creation date: Sunday 06 December 2026
' Last modification:          by
'**********************************************************************
    Dim i As Long
    Static calls As Long, _
           last As Long
'-----------------------------------
'Local variables definition 




'-----------------------------------
' Start 
On Error Goto ErrorWithLocals



    calls = calls + 1
'-----------------------------------
'- End and exit
WithLocalsNext:
Exit Sub


'-----------------------------------
'Error local traitment
ErrorWithLocals:
Msgbox Err.Description, , "WithLocals"
       '-Resume
Resume WithLocalsNext
'-----------------------------------
'End
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
'-----------------------------------
'Local variables definition 




'-----------------------------------
' Start 
On Error Goto ErrorHeaderAbove



    Beep
'-----------------------------------
'- End and exit
HeaderAboveNext:
Exit Sub


'-----------------------------------
'Error local traitment
ErrorHeaderAbove:
Msgbox Err.Description, , "HeaderAbove"
       '-Resume
Resume HeaderAboveNext
'-----------------------------------
'End
End Sub

Sub HeaderBelow()
' Has a header already
'-----------------------------------
'Local variables definition 




'-----------------------------------
' Start 
On Error Goto ErrorHeaderBelow



    Beep
'-----------------------------------
'- End and exit
HeaderBelowNext:
Exit Sub


'-----------------------------------
'Error local traitment
ErrorHeaderBelow:
Msgbox Err.Description, , "HeaderBelow"
       '-Resume
Resume HeaderBelowNext
'-----------------------------------
'End
End Sub

Sub Trapped()
    On Error Resume Next
    Kill "x"
End Sub

Sub Looping()
'**********************************************************************
' Utility: Description of its utility
'
' Functions called: 
' Functions calling: 
'
'
' Programmer's name: My name
' Creation date: Sunday 06 December 2026
' Last modification:          by
'**********************************************************************
LoopingNext:
Fail:
    Beep
End Sub

Sub Unfinished()
    Beep
