Attribute VB_Name = "Tools"
Option Explicit

Private Const LIMIT As Long = 10
Friend Static Function Total( )AS Long
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
On Error Resume Next



'-----------------------------------
'End
End Function

Public Sub Main()
    Debug.Print LIMIT
End Sub
