VERSION 5.00
Begin VB.UserControl Meter 
   ClientHeight    =   600
   Begin VB.Label lblTitle 
      Caption         =   "Title"
   End
End
Attribute VB_Name = "Meter"
Attribute VB_Exposed = True
Option Explicit
Public Event Click()
Attribute Click.VB_UserMemId = -600

Public Property Get Caption() As String
Attribute Caption.VB_UserMemId = 0
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
On Error Goto ErrorCaption



    Caption = lblTitle.Caption
'-----------------------------------
'- End and exit
CaptionNext:
Exit Property


'-----------------------------------
'Error local traitment
ErrorCaption:
Msgbox Err.Description, , "Caption"
       '-Resume
Resume CaptionNext
'-----------------------------------
'End
End Property

Public Function Percent(ByVal Value As Long) As Long
    Percent = Value \ 100
End Function

Private Sub UserControl_Click()
    RaiseEvent Click
End Sub
