Attribute VB_Name = "Tools"
Option Explicit

Private Const LIMIT As Long = 10
Private Static Sub Refresh_Hide ( )
'**********************************************************************
' Utility: Reloads the list
'
' Functions called: 
' Functions calling: 
'
'
' Programmer's name: Ada Lovelace
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
End Sub

Public Sub Main()
    Debug.Print LIMIT
End Sub
