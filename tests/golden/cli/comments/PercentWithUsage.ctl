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

' The meter's caption.
Public Property Get Caption() As String
Attribute Caption.VB_UserMemId = 0
    Caption = lblTitle.Caption
End Property

Public Function Percent(ByVal Value As Long) As Long
'**********************************************************************
' Utility: Percent of the range
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
On Error Goto ErrorPercent



    Percent = Value \ 100
'-----------------------------------
'- End and exit
PercentNext:
Exit Function


'-----------------------------------
'Error local traitment
ErrorPercent:
Msgbox Err.Description, , "Percent"
       '-Resume
Resume PercentNext
'-----------------------------------
'End
End Function

Private Sub UserControl_Click()
    RaiseEvent Click
End Sub
