Attribute VB_Name = "Startup"
Option Explicit

' Where the program starts, and what it does first.
Public Const APP_TITLE As String = "Invoices"

Public Sub Main()
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
On Error Goto ErrorMain



    Load frmMain
    frmMain.Show
'-----------------------------------
'- End and exit
MainNext:
Exit Sub


'-----------------------------------
'Error local traitment
ErrorMain:
Msgbox Err.Description, , "Main"
       '-Resume
Resume MainNext
'-----------------------------------
'End
End Sub
