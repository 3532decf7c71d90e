Attribute VB_Name = "Tools"
Option Explicit

Private Const LIMIT As Long = 10
Function Total(Values as String)AS String
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
On Error Goto ErrorTotal



'-----------------------------------
'- End and exit
TotalNext:
Exit Function


'-----------------------------------
'Error local traitment
ErrorTotal:
Msgbox Err.Description, , "Total"
       '-Resume
Resume TotalNext
'-----------------------------------
'End
End Function

Public Sub Main()
    Debug.Print LIMIT
End Sub
