Attribute VB_Name = "Tools"
Option Explicit

Private Const LIMIT As Long = 10
Private m_NewTitle AS String
Private Property Let Title_Hide (NewTitle as String)
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



m_NewTitle = NewTitle
'-----------------------------------
'End
End Property
Private Property Get Title_Hide ( )AS String
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



Title_Hide = m_NewTitle
'-----------------------------------
'End
End Property

Public Sub Main()
    Debug.Print LIMIT
End Sub
