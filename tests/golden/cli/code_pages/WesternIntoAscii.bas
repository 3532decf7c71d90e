Attribute VB_Name = "M"
Option Explicit
' Cafe creme
Sub Réinitialiser( )
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
End Sub
