Attribute VB_Name = "Tools"
Option Explicit

Private Const LIMIT As Long = 10
Private m_Total AS Long
Property Get Count( )AS Long
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
On Error Goto ErrorCount



Count = m_Total
'-----------------------------------
'- End and exit
CountNext:
Exit Property


'-----------------------------------
'Error local traitment
ErrorCount:
Msgbox Err.Description, , "Count"
       '-Resume
Resume CountNext
'-----------------------------------
'End
End Property

Public Sub Main()
    Debug.Print LIMIT
End Sub
